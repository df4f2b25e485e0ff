// kelpass: sets a password through the toolkit without opening the IDE.
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "argument_scan.h"
#include "code_page_check.h"
#include "install_dir.h"
#include "kel/code_page.h"
#include "kelpass_commands.h"
#include "run_command.h"
#include "start_refusal.h"
#include "workspace_lock.h"

// Wide, so that a workspace path arrives with every character typed.
int wmain(int argc, wchar_t** argv) {
  const kel::InstallDir install = kel::resolveInstallDir();
  if (const auto refused = kel::refusalToStart(install, {"Environment variable KELHOME cannot be resolved.", -96})) {
    return *refused;
  }
  const std::u16string& installDir = install.path;
  const std::vector<std::u16string> arguments = kel::wideArguments(argc, argv);
  const auto scanned = kel::scanArguments(std::span<const std::u16string>(arguments), kel::lengthInCodePage);
  // The Java runtime reads its arguments in the code page; a path may go as its short form.
  std::optional<std::u16string> workspace = kel::defaultWorkspace(installDir);
  if (scanned.workspace) workspace = kel::pathInCodePage(*scanned.workspace);
  if (!kel::inCodePage(scanned.passThrough) || !workspace) return kel::refuseArgument();

  if (kel::probeWorkspaceLock(kel::text::toAnsi(*workspace).value()) == 0) {
    return kel::runThroughInterpreter(kel::applicationCommand(installDir, *workspace, scanned.passThrough));
  }
  const int exitCode = kel::runThroughInterpreter(kel::serverCommand(installDir, scanned.passThrough));
  if (exitCode == kel::kToolServerNotRunning) std::puts(kel::kLockedWorkspaceMessage);
  return exitCode;
}
