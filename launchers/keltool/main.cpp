// keltool: starts the toolkit's tool client with every argument passed on.
#include <cstdio>
#include <string>
#include <vector>

#include "install_dir.h"
#include "keltool_command.h"
#include "run_command.h"

int main(int argc, char** argv) {
  const std::optional<std::string> installDir = kel::resolveInstallDir();
  if (!installDir) {
    std::puts("Enviroment variable KELHOME could not be resolved.");
    return -1;
  }
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return kel::runThroughInterpreter(kel::toolClientCommand(*installDir, arguments));
}
