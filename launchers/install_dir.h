#pragma once
// The toolkit's install directory, from the environment variable KELHOME.

#include <optional>
#include <string>

namespace kel {

// KELHOME in its short (8.3) form where the platform gives one (a value
// already short comes out unchanged); otherwise the value as it stands. Empty
// when KELHOME is empty; nullopt when it is not set.
std::optional<std::string> resolveInstallDir();

}  // namespace kel
