#pragma once
// The toolkit's install directory, from the environment variable KELHOME.

#include <string>

namespace kel {

enum class KelhomeProblem { none, notSet, holdsQuote, notInCodePage };

struct InstallDir {
  std::u16string path;  // empty when there is a problem, or when KELHOME is empty
  KelhomeProblem problem = KelhomeProblem::none;
};

// KELHOME, without quotes around the whole value and with backslashes for
// slashes, in its short (8.3) form where the platform gives one (a value
// already short comes out unchanged); otherwise the value as it stands. It is
// passed on in the ANSI code page, so a directory named in any script is
// taken through its short form; only when that form still holds a character
// the code page lacks (no short form exists) is it refused.
InstallDir resolveInstallDir();

}  // namespace kel
