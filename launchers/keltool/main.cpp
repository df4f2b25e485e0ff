// keltool: starts the toolkit's tool client with every argument passed on.
#include <string>
#include <vector>

#include "command_line.h"
#include "install_dir.h"
#include "run.h"

// Wide, so that a character the code page lacks is refused, not passed on as
// the look-alike or "?" of the ANSI arguments.
int wmain(int argc, wchar_t** argv) {
  const kel::InstallDir install = kel::resolveInstallDir();
  if (const auto refused = kel::refusalToStart(
          install, {kel::KELTOOL_KELHOME_NOT_SET_MESSAGE, kel::KELTOOL_KELHOME_NOT_SET_CODE})) {
    return *refused;
  }
  const std::vector<std::u16string> arguments = kel::wideArguments(argc, argv);
  if (!kel::inCodePage(arguments)) return kel::refuseArgument();
  return kel::runThroughInterpreter(kel::toolClientCommand(install.path, arguments));
}
