// kelpass: sets a password through the toolkit without opening the IDE.
#include <cstdio>
#include <string>
#include <vector>

#include "argument_scan.h"
#include "install_dir.h"
#include "kelpass_commands.h"
#include "run_command.h"
#include "start_refusal.h"
#include "workspace_lock.h"

int main(int argc, char** argv) {
  const kel::InstallDir install = kel::resolveInstallDir();
  if (const auto refused = kel::refusalToStart(install, {"Environment variable KELHOME cannot be resolved.", -96})) {
    return *refused;
  }
  const std::string& installDir = install.path;
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const kel::ScannedArguments scanned = kel::scanArguments(arguments);
  const std::string workspace = scanned.workspace.value_or(kel::defaultWorkspace(installDir));

  if (kel::probeWorkspaceLock(workspace) == 0) {
    return kel::runThroughInterpreter(
        kel::applicationCommand(installDir, workspace, scanned.passThrough));
  }
  const int exitCode =
      kel::runThroughInterpreter(kel::serverCommand(installDir, scanned.passThrough));
  if (exitCode == kel::kToolServerNotRunning) std::puts(kel::kLockedWorkspaceMessage);
  return exitCode;
}
