// keltool: starts the toolkit's tool client with every argument passed on.
#include <string>
#include <vector>

#include "code_page_check.h"
#include "install_dir.h"
#include "keltool_command.h"
#include "run_command.h"
#include "start_refusal.h"

// Wide, so that a character the code page lacks is refused, not passed on as
// the look-alike or "?" of the ANSI arguments.
int wmain(int argc, wchar_t** argv) {
  const kel::InstallDir install = kel::resolveInstallDir();
  if (const auto refused = kel::refusalToStart(install, {"Enviroment variable KELHOME could not be resolved.", -1})) {
    return *refused;
  }
  const std::vector<std::u16string> arguments = kel::wideArguments(argc, argv);
  if (!kel::inCodePage(arguments)) return kel::refuseArgument();
  return kel::runThroughInterpreter(kel::toolClientCommand(install.path, arguments));
}
