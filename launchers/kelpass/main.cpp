// kelpass: sets a password through the toolkit without opening the IDE. It
// probes whether a running IDE holds the workspace, then starts the headless
// password application on it, or hands the request to keltool.
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "command_line.h"
#include "install_dir.h"
#include "kel/unique_handle.h"
#include "kel/wide.h"
#include "run.h"

namespace {

enum class Creation { created, exists, failed };

std::u16string number(unsigned long value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

// Creates `path` only if nothing is there; it goes again when closed, so it
// cannot stay behind even if this process is stopped in between.
Creation createAndDelete(const std::u16string& path) {
  const kel::unique_file_handle file(::CreateFileW(kel::wide(path), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                                   FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  if (file) return Creation::created;
  const DWORD error = ::GetLastError();
  return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? Creation::exists : Creation::failed;
}

// A file can be created in `directory`. testFile.txt is tried first; when a
// file of that name is already there it is not ours to touch, so a name of
// this process's own is tried instead.
bool directoryIsWritable(const std::u16string& directory) {
  Creation creation = createAndDelete(directory + u"\\testFile.txt");
  const std::u16string ownPrefix = directory + u"\\testFile-" + number(::GetCurrentProcessId()) + u"-";
  for (unsigned long attempt = 0; creation == Creation::exists && attempt < 100; ++attempt) {
    creation = createAndDelete(ownPrefix + number(attempt) + u".txt");
  }
  return creation == Creation::created;
}

// Whether a running IDE holds the workspace: its .metadata\.lock exists, can
// be neither deleted nor opened for writing, and the workspace directory is
// writable (in a read-only directory every lock file is refused). A stale
// lock file is deleted on the way; nothing of the probe's own stays behind,
// and no file it did not create is touched.
bool workspaceIsLocked(const std::u16string& workspace) {
  const std::u16string lockPath = workspace + u"\\.metadata\\.lock";
  // A lock file that can be deleted is held by no one.
  if (::DeleteFileW(kel::wide(lockPath))) return false;
  {
    kel::unique_file_handle lock(::CreateFileW(kel::wide(lockPath), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (lock) {
      lock.reset();
      ::DeleteFileW(kel::wide(lockPath));
      return false;
    }
  }
  // No lock file (a workspace never opened, or no directory at all): nothing holds it.
  if (::GetFileAttributesW(kel::wide(lockPath)) == INVALID_FILE_ATTRIBUTES) return false;
  return directoryIsWritable(workspace);
}

}  // namespace

// Wide, so that a workspace path arrives with every character typed.
int wmain(int argc, wchar_t** argv) {
  const kel::InstallDir install = kel::resolveInstallDir();
  if (const auto refused = kel::refusalToStart(
          install, {kel::KELPASS_KELHOME_NOT_SET_MESSAGE, kel::KELPASS_KELHOME_NOT_SET_CODE})) {
    return *refused;
  }
  const std::u16string& installDir = install.path;
  const std::vector<std::u16string> arguments = kel::wideArguments(argc, argv);
  const kel::ScannedArguments scanned = kel::scanArguments(arguments, kel::lengthsInCodePage(arguments));
  // The Java runtime reads its arguments in the code page; a path may go as its short form.
  std::optional<std::u16string> workspace = kel::defaultWorkspace(installDir);
  if (scanned.workspace) workspace = kel::passablePath(*scanned.workspace, kel::PathForm::asTyped);
  if (!kel::inCodePage(scanned.passThrough) || !workspace) return kel::refuseArgument();

  if (!workspaceIsLocked(*workspace)) {
    return kel::runThroughInterpreter(kel::applicationCommand(installDir, *workspace, scanned.passThrough));
  }
  const int exitCode = kel::runThroughInterpreter(kel::serverCommand(installDir, scanned.passThrough));
  if (exitCode == kel::TOOL_SERVER_NOT_RUNNING_CODE) std::puts(kel::LOCKED_WORKSPACE_MESSAGE);
  return exitCode;
}
