#pragma once
// The toolkit's install directory, from the environment variable KELHOME.

#include <string>

namespace kel {

enum class KelhomeProblem { none, notSet, holdsQuote, notInCodePage };

struct InstallDir {
  std::string path;  // empty when there is a problem, or when KELHOME is empty
  KelhomeProblem problem = KelhomeProblem::none;
};

// KELHOME, without quotes around the whole value, in its short (8.3) form
// where the platform gives one (a value already short comes out unchanged);
// otherwise the value as it stands. A value holding a character the ANSI
// code page lacks is not taken: its ANSI copy names another directory.
InstallDir resolveInstallDir();

}  // namespace kel
