#pragma once
// The short (8.3) form of a path, which the launchers pass on where the long
// name cannot be written in their ANSI command lines.

#include <string>

namespace kel {

// The short form of `path` (an existing file or directory), as the platform
// gives it; `path` itself when the platform gives none (a missing path, or a
// volume that keeps no 8.3 names). A path already short comes out unchanged.
std::u16string shortFormOf(const std::u16string& path);

}  // namespace kel
