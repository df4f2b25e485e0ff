#include "workspace_lock.h"

#include <windows.h>

#include "kel/unique_handle.h"

namespace kel {
namespace {

enum class Creation { created, exists, failed };

// Creates `path` only if nothing is there; it goes again when closed, so it
// cannot stay behind even if this process is stopped in between.
Creation createAndDelete(const std::string& path) {
  const unique_file_handle file(::CreateFileA(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                                              CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  if (file) return Creation::created;
  const DWORD error = ::GetLastError();
  return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? Creation::exists
                                                                      : Creation::failed;
}

// A file can be created in `directory`. testFile.txt is tried first; when a
// file of that name is already there it is not ours to touch, so a name of
// this process's own is tried instead.
bool directoryIsWritable(const std::string& directory) {
  Creation creation = createAndDelete(directory + "\\testFile.txt");
  const std::string ownPrefix =
      directory + "\\testFile-" + std::to_string(::GetCurrentProcessId()) + "-";
  for (int attempt = 0; creation == Creation::exists && attempt < 100; ++attempt) {
    creation = createAndDelete(ownPrefix + std::to_string(attempt) + ".txt");
  }
  return creation == Creation::created;
}

}  // namespace

int probeWorkspaceLock(const std::string& workspace) {
  const std::string lockPath = workspace + "\\.metadata\\.lock";
  // A lock file that can be deleted is held by no one.
  if (::DeleteFileA(lockPath.c_str())) return 0;
  {
    unique_file_handle lock(::CreateFileA(lockPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (lock) {
      lock.reset();
      ::DeleteFileA(lockPath.c_str());
      return 0;
    }
  }
  // No lock file (a workspace never opened, or no directory at all): nothing holds it.
  if (::GetFileAttributesA(lockPath.c_str()) == INVALID_FILE_ATTRIBUTES) return 0;
  // The lock file is there and refused; that means held only where files can be
  // made, since in a read-only directory every lock file is refused.
  return directoryIsWritable(workspace) ? 1 : 0;
}

}  // namespace kel
