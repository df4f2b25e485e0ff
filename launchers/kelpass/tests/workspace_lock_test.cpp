// probeWorkspaceLock against real files under Wine.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "launcher_test_support.h"
#include "workspace_lock.h"

namespace kel {
namespace {

using test::entriesOf;
using test::HeldFile;
using Names = std::vector<std::string>;

std::string contentOf(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void writeFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

class KelpassProbe : public testing::Test {
 protected:
  test::TempDirectory workspace_{"KEL Probe Workspace "};
  std::string ws_ = workspace_.path();
  std::string lock_ = ws_ + "\\.metadata\\.lock";
};

TEST_F(KelpassProbe, MissingDirectoryIsNotLockedAndStaysMissing) {
  const std::string missing = ws_ + "\\not there";
  EXPECT_EQ(probeWorkspaceLock(missing), 0);
  EXPECT_EQ(::GetFileAttributesA(missing.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(KelpassProbe, WorkspaceNeverOpenedIsNotLocked) {
  EXPECT_EQ(probeWorkspaceLock(ws_), 0);
  EXPECT_EQ(entriesOf(ws_), Names{});
}

TEST_F(KelpassProbe, FreeOrStaleLockIsNotLockedAndLeavesNoLockFile) {
  ::CreateDirectoryA((ws_ + "\\.metadata").c_str(), nullptr);
  EXPECT_EQ(probeWorkspaceLock(ws_), 0);
  EXPECT_EQ(entriesOf(ws_ + "\\.metadata"), Names{});

  writeFile(lock_, "stale");
  EXPECT_EQ(probeWorkspaceLock(ws_), 0);
  EXPECT_EQ(entriesOf(ws_ + "\\.metadata"), Names{});
}

TEST_F(KelpassProbe, HeldLockIsLockedAndLeavesNothingBehind) {
  const HeldFile held(lock_);
  EXPECT_EQ(probeWorkspaceLock(ws_), 1);
  EXPECT_EQ(entriesOf(ws_), Names{".metadata"});
  EXPECT_EQ(entriesOf(ws_ + "\\.metadata"), Names{".lock"});
}

// An IDE keeps its lock file open for reading and writing, shared for both,
// with an exclusive byte-range lock on it.
TEST_F(KelpassProbe, LockHeldTheWayAnIdeHoldsItIsLockedAndKeepsItsContent) {
  ::CreateDirectoryA((ws_ + "\\.metadata").c_str(), nullptr);
  writeFile(lock_, "owner");
  const unique_file_handle held(::CreateFileA(lock_.c_str(), GENERIC_READ | GENERIC_WRITE,
                                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held);
  OVERLAPPED whole{};
  ASSERT_TRUE(::LockFileEx(held.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole));
  EXPECT_EQ(probeWorkspaceLock(ws_), 1);
  EXPECT_EQ(entriesOf(ws_ + "\\.metadata"), Names{".lock"});
  ::UnlockFileEx(held.get(), 0, 1, 0, &whole);
  EXPECT_EQ(contentOf(lock_), "owner");
}

TEST_F(KelpassProbe, UsersTestFileIsNeitherCutNorDeleted) {
  const HeldFile held(lock_);
  const std::string testFile = ws_ + "\\testFile.txt";
  writeFile(testFile, "the user's notes");
  EXPECT_EQ(probeWorkspaceLock(ws_), 1);
  EXPECT_EQ(contentOf(testFile), "the user's notes");
  EXPECT_EQ(entriesOf(ws_), (Names{".metadata", "testFile.txt"}));

  // Read-only and held open by someone else: still the user's, still untouched.
  ::SetFileAttributesA(testFile.c_str(), FILE_ATTRIBUTE_READONLY);
  {
    const unique_file_handle reader(::CreateFileA(testFile.c_str(), GENERIC_READ, 0, nullptr,
                                                        OPEN_EXISTING, 0, nullptr));
    EXPECT_EQ(probeWorkspaceLock(ws_), 1);
  }
  ::SetFileAttributesA(testFile.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(contentOf(testFile), "the user's notes");
  EXPECT_EQ(entriesOf(ws_), (Names{".metadata", "testFile.txt"}));
}

// Run by probe_readonly_workspace.sh, which makes a workspace in which
// nothing can be created or deleted (even by root) and names it in
// KEL_READONLY_WORKSPACE; a Windows program cannot do that itself under Wine.
TEST(KelpassProbeReadOnly, DISABLED_DirectoryWhereNothingCanBeCreatedIsNotLocked) {
  const char* workspace = std::getenv("KEL_READONLY_WORKSPACE");
  ASSERT_NE(workspace, nullptr);
  const Names before = entriesOf(workspace);
  ASSERT_EQ(before, (Names{".metadata"}));
  EXPECT_EQ(probeWorkspaceLock(workspace), 0);
  EXPECT_EQ(entriesOf(workspace), before);
  EXPECT_EQ(entriesOf(std::string(workspace) + "\\.metadata"), Names{".lock"});
}

}  // namespace
}  // namespace kel
