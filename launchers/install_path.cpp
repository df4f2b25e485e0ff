#include "install_path.h"

#include "crt_arguments.h"

namespace kel {

bool installDirNeedsQuotes(std::u16string_view installDir) {
  static constexpr std::u16string_view kSplitting = u" \t;,=()&|<>^%\v\f\u00FF\u00A0";
  return installDir.find_first_of(kSplitting) != std::u16string_view::npos;
}

std::u16string installPath(std::u16string_view installDir, std::u16string_view piece) {
  std::u16string path(installDir);
  path += piece;
  return installDirNeedsQuotes(installDir) ? quotedArgument(path) : path;
}

}  // namespace kel
