// An install directory without a short form (a volume that keeps no 8.3
// names), which Wine cannot give the launchers: the lines built from its long
// name, with blanks and characters special to cmd.exe in it, run through the
// real cmd.exe as the launchers run them.
#include <gtest/gtest.h>

#include <filesystem>

#include "install_path.h"
#include "kel/code_page.h"
#include "kelpass_commands.h"
#include "keltool_command.h"
#include "launcher_test_support.h"
#include "run_command.h"

namespace kel {
namespace {

using Args = std::vector<std::string>;

TEST(LauncherNoShortForm, EveryLineStartsItsProgramWithEveryPathWhole) {
  test::SampleInstall install("KEL Home &(1)^;,=%OS%!");
  const std::string d = install.longPath();
  const std::u16string wideD = text::fromAnsi(d);
  ASSERT_TRUE(installDirNeedsQuotes(wideD));
  // So that the server command's own arguments are recorded.
  std::filesystem::copy_file(test::javaStandinExe(), d + "\\keltool.exe",
                             std::filesystem::copy_options::overwrite_existing);
  install.setJavaExitCode(5);

  const std::string workspace = d + "\\eclipse\\workspace";
  const std::vector<std::u16string> passed = {u"-u", u"a&b", u"c^d", u"50%PATH%", u"a\"b&c", u"(x)", u"two words"};
  const Args words = {"-u", "a&b", "c^d", "50%PATH%", "a\"b&c", "(x)", "two", "words"};
  const std::string java = d + "\\eclipse\\jre\\bin\\java";
  const std::string client = d + "\\eclipse\\plugins\\com.vum.kel.KELtoolClient\\keltoolClient.jar";
  struct Road {
    std::u16string line;
    Args expected;
  };
  const Road roads[] = {
      {applicationCommand(wideD, defaultWorkspace(wideD), passed),
       {java, "-Xzq", "-cp", d + "\\eclipse\\startup.jar", "org.eclipse.core.launcher.Main", "-noupdate",
        "-application", "com.vum.kel.KELpass.kelpass", "-data", workspace}},
      {serverCommand(wideD, passed), {d + "\\keltool", "-s", "SetPassword"}},
      {toolClientCommand(wideD, passed), {java, "-jar", client}},
  };
  for (const Road& road : roads) {
    SCOPED_TRACE(testing::PrintToString(road.line));
    ASSERT_EQ(runThroughInterpreter(road.line), 5);
    const auto record = install.record();
    ASSERT_TRUE(record);
    Args expected = road.expected;
    expected.insert(expected.end(), words.begin(), words.end());
    EXPECT_EQ(record->arguments, expected);
  }
}

}  // namespace
}  // namespace kel
