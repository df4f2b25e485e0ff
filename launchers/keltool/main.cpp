// keltool: starts the toolkit's tool client with every argument passed on.
#include <string>
#include <vector>

#include "install_dir.h"
#include "keltool_command.h"
#include "run_command.h"
#include "start_refusal.h"

int main(int argc, char** argv) {
  const kel::InstallDir install = kel::resolveInstallDir();
  if (const auto refused = kel::refusalToStart(install, {"Enviroment variable KELHOME could not be resolved.", -1})) {
    return *refused;
  }
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return kel::runThroughInterpreter(kel::toolClientCommand(install.path, arguments));
}
