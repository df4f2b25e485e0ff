#pragma once
// What the user typed, against the ANSI code page that the launchers and the
// programs they start read their command lines in. Windows derives that ANSI
// command line, and the C runtime's copy of the environment, by putting a
// look-alike or "?" where the code page lacks a character, so a password
// typed in another script would be set as something else.

#include <string>
#include <string_view>

namespace kel {

// Exit code of a launcher that refused what the user typed.
inline constexpr int kCharacterRefused = -94;

// Whether every character of this program's arguments (its wide command line
// without the program name) has an exact form in the ANSI code page.
bool argumentsPassExactly();

// Whether the wide value of KELHOME, if set, has an exact form there.
bool kelhomePassesExactly();

// The one line saying that `what` ("An argument", "Environment variable
// KELHOME") holds a character the code page cannot pass on.
std::string notInCodePageMessage(std::string_view what);

}  // namespace kel
