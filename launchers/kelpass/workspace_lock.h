#pragma once
// Whether a running IDE holds a workspace.

#include <string>

namespace kel {

// 1 when the workspace's .metadata\.lock exists, can be neither deleted nor
// opened for writing, and the workspace directory is writable (so something
// holds the lock file); 0 otherwise. A stale lock file is deleted on the way.
// Leaves no file of its own behind and never touches a file it did not create.
int probeWorkspaceLock(const std::string& workspace);

}  // namespace kel
