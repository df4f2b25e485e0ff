#pragma once
// The toolkit's install directory, from the environment variable KELHOME.

#include <optional>
#include <string>

namespace kel {

// KELHOME in its short (8.3) form where the platform gives one that fits in as
// many characters as the value has; otherwise the value unchanged, so a value
// already in short form is used as it stands. Empty when KELHOME is empty;
// nullopt when it is not set.
std::optional<std::string> resolveInstallDir();

}  // namespace kel
