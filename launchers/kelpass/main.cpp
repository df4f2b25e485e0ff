// kelpass: sets a password through the toolkit without opening the IDE.
#include <cstdio>
#include <string>
#include <vector>

#include "argument_scan.h"
#include "install_dir.h"
#include "kelpass_commands.h"
#include "run_command.h"
#include "workspace_lock.h"

int main(int argc, char** argv) {
  const std::optional<std::string> installDir = kel::resolveInstallDir();
  if (!installDir) {
    std::puts("Environment variable KELHOME cannot be resolved.");
    return -96;
  }
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const kel::ScannedArguments scanned = kel::scanArguments(arguments);
  const std::string workspace = scanned.workspace.value_or(kel::defaultWorkspace(*installDir));

  if (kel::probeWorkspaceLock(workspace) == 0) {
    return kel::runThroughInterpreter(
        kel::applicationCommand(*installDir, workspace, scanned.passThrough));
  }
  const int exitCode =
      kel::runThroughInterpreter(kel::serverCommand(*installDir, scanned.passThrough));
  if (exitCode == kel::kToolServerNotRunning) std::puts(kel::kLockedWorkspaceMessage);
  return exitCode;
}
