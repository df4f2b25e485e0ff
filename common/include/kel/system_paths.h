#pragma once
// Where the platform keeps things, as the wide functions give them.

#include <string>

namespace kel {

// The value of an environment variable; empty when it is unset.
std::u16string environmentValue(const char16_t* name);

// The system folder (System32) and the Windows folder.
std::u16string systemDirectory();
std::u16string windowsDirectory();

// The folder of this process's program file.
std::u16string applicationDirectory();

}  // namespace kel
