#include "install_path.h"

#include "crt_arguments.h"

namespace kel {

bool installDirNeedsQuotes(std::string_view installDir) {
  static constexpr std::string_view kSplitting = " \t;,=()&|<>^%\v\f\xFF";
  return installDir.find_first_of(kSplitting) != std::string_view::npos;
}

std::string installPath(std::string_view installDir, std::string_view piece) {
  std::string path(installDir);
  path += piece;
  return installDirNeedsQuotes(installDir) ? quotedArgument(path) : path;
}

}  // namespace kel
