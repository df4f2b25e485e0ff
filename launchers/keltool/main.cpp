// keltool: starts the toolkit's tool client with every argument passed on.
#include <cstdio>
#include <string>
#include <vector>

#include "install_dir.h"
#include "kelhome_value.h"
#include "keltool_command.h"
#include "run_command.h"

int main(int argc, char** argv) {
  const kel::InstallDir install = kel::resolveInstallDir();
  if (install.problem != kel::KelhomeProblem::none) {
    std::puts(install.problem == kel::KelhomeProblem::notSet
                  ? "Enviroment variable KELHOME could not be resolved."
                  : kel::kKelhomeHoldsQuoteMessage);
    return -1;
  }
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return kel::runThroughInterpreter(kel::toolClientCommand(install.path, arguments));
}
