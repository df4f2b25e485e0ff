// resolveInstallDir against real short names under Wine.
#include <gtest/gtest.h>

#include <cstdlib>

#include "install_dir.h"
#include "kel/code_page.h"
#include "launcher_test_support.h"

namespace kel {
namespace {

// getenv reads the C runtime's copy of the environment, which _putenv keeps.
class ScopedKelhome {
 public:
  explicit ScopedKelhome(const std::optional<std::string>& value, const char* name = "KELHOME")
      : name_(name) {
    set(value);
  }
  ~ScopedKelhome() { set(std::nullopt); }

 private:
  void set(const std::optional<std::string>& value) {
    const std::string assignment = name_ + "=" + value.value_or("");
    ::_putenv(assignment.c_str());
  }
  std::string name_;
};

TEST(LauncherInstallDir, UnsetGivesNothing) {
  const ScopedKelhome kelhome(std::nullopt);
  EXPECT_EQ(resolveInstallDir().problem, KelhomeProblem::notSet);
}

TEST(LauncherInstallDir, LongNameGivesItsShortForm) {
  const test::TempDirectory directory("KEL Install Directory ");
  const ScopedKelhome kelhome(directory.path());
  const InstallDir resolved = resolveInstallDir();
  ASSERT_EQ(resolved.problem, KelhomeProblem::none);
  EXPECT_NE(resolved.path, text::fromAnsi(directory.path()));
  EXPECT_EQ(resolved.path.find(u' '), std::u16string::npos) << testing::PrintToString(resolved.path);
  EXPECT_EQ(::GetFileAttributesW(reinterpret_cast<const wchar_t*>(resolved.path.c_str())), FILE_ATTRIBUTE_DIRECTORY);
}

TEST(LauncherInstallDir, ShortFormAndUnknownPathsAreUsedUnchanged) {
  const test::TempDirectory directory("KEL Install Directory ");
  char shortForm[MAX_PATH + 1] = {};
  ASSERT_GT(::GetShortPathNameA(directory.path().c_str(), shortForm, sizeof shortForm), 0u);
  for (const std::string& value : {std::string(shortForm), std::string("C:\\No Such Directory\\KEL")}) {
    const ScopedKelhome kelhome(value);
    EXPECT_EQ(resolveInstallDir().path, text::fromAnsi(value));
  }
  // Without a short form a value is used as it stands, but for its slashes.
  const ScopedKelhome slashed("C:/No Such Directory/KEL");
  EXPECT_EQ(resolveInstallDir().path, u"C:\\No Such Directory\\KEL");
}

TEST(LauncherInstallDir, NameMatchesWithoutRegardToCase) {
  const ScopedKelhome kelhome("C:\\KEL", "kelhome");
  EXPECT_EQ(resolveInstallDir().path, u"C:\\KEL");
}

}  // namespace
}  // namespace kel
