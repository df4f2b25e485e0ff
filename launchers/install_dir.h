#pragma once
// The toolkit's install directory, from the environment variable KELHOME.

#include <string>

namespace kel {

enum class KelhomeProblem { none, notSet, holdsQuote };

struct InstallDir {
  std::string path;  // empty when there is a problem, or when KELHOME is empty
  KelhomeProblem problem = KelhomeProblem::none;
};

// KELHOME, without quotes around the whole value, in its short (8.3) form
// where the platform gives one (a value already short comes out unchanged);
// otherwise the value as it stands.
InstallDir resolveInstallDir();

}  // namespace kel
