// kelpass started as a user starts it, under Wine with its real cmd.exe,
// against a sample install whose Java runtime is the recording stand-in.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "launcher_test_support.h"

namespace kel {
namespace {

using test::linesOf;
using test::runProgram;
using Args = std::vector<std::string>;

std::string quotedProgram(const std::string& path) {
  std::string quoted = "\"";
  quoted += path;
  quoted += '"';
  return quoted;
}

constexpr const char* kLockedMessage =
    "The workspace is locked and KELtool server is not running. Either close KEL Toolkit, or turn "
    "on KELtool server before running kelpass.";

// What the stand-in receives on each road with `d` as the install directory.
Args applicationArgumentsFor(const std::string& d, const std::string& workspace, const Args& passed) {
  Args expected = {d + "\\eclipse\\jre\\bin\\java", "-Xzq", "-cp", d + "\\eclipse\\startup.jar",
                   "org.eclipse.core.launcher.Main", "-noupdate", "-application",
                   "com.vum.kel.KELpass.kelpass", "-data", workspace};
  expected.insert(expected.end(), passed.begin(), passed.end());
  return expected;
}
Args toolClientArgumentsFor(const std::string& d, const Args& passed) {
  Args expected = {d + "\\eclipse\\jre\\bin\\java", "-jar",
                   d + "\\eclipse\\plugins\\com.vum.kel.KELtoolClient\\keltoolClient.jar", "-s",
                   "SetPassword"};
  expected.insert(expected.end(), passed.begin(), passed.end());
  return expected;
}

class KelpassProcess : public testing::Test {
 protected:
  test::ProgramRun kelpass(const std::string& arguments) {
    return runProgram(quotedProgram(test::kelpassExe()) + " " + arguments);
  }

  // The free road's command line up to and including the workspace option.
  std::string applicationLine(const std::string& workspaceArgument) const {
    const std::string d = install_.shortPath();
    return d + "\\eclipse\\jre\\bin\\java -Xzq -cp " + d +
           "\\eclipse\\startup.jar org.eclipse.core.launcher.Main -noupdate  -application "
           "com.vum.kel.KELpass.kelpass -data " + workspaceArgument;
  }
  Args applicationArguments(const std::string& workspace, const Args& passed) const {
    return applicationArgumentsFor(install_.shortPath(), workspace, passed);
  }
  // The locked road ends in keltool starting the tool client.
  std::string toolClientLine() const {
    const std::string d = install_.shortPath();
    return d + "\\eclipse\\jre\\bin\\java -jar " + d +
           "\\eclipse\\plugins\\com.vum.kel.KELtoolClient\\keltoolClient.jar -s SetPassword";
  }
  Args toolClientArguments(const Args& passed) const {
    return toolClientArgumentsFor(install_.shortPath(), passed);
  }

  test::SampleInstall install_;
  test::TempDirectory workspace_{"KEL Work Space "};
  std::string ws_ = workspace_.path();
};

TEST_F(KelpassProcess, FreeWorkspaceStartsTheApplicationWithTheShortInstallDir) {
  // The workspace has no .metadata at all: a workspace never opened is free.
  install_.setJavaExitCode(7);
  const test::ProgramRun run = kelpass("-e \"" + ws_ + "\" -u x");
  EXPECT_EQ(run.exitCode, 7u);
  ASSERT_NE(install_.shortPath(), install_.longPath());
  EXPECT_EQ(install_.shortPath().find(' '), std::string::npos);
  const auto record = install_.record();
  ASSERT_TRUE(record) << run.output;
  EXPECT_EQ(record->commandLine, applicationLine("\"" + ws_ + "\"  -u x"));
  EXPECT_EQ(record->arguments, applicationArguments(ws_, {"-u", "x"}));
}

TEST_F(KelpassProcess, NoArgumentsUseTheDefaultWorkspace) {
  const test::ProgramRun run = kelpass("");
  EXPECT_EQ(run.exitCode, 0u);
  const auto record = install_.record();
  ASSERT_TRUE(record) << run.output;
  const std::string workspace = install_.shortPath() + "\\eclipse\\workspace";
  EXPECT_EQ(record->commandLine, applicationLine("\"" + workspace + "\" "));
  EXPECT_EQ(record->arguments, applicationArguments(workspace, {}));
}

TEST_F(KelpassProcess, UnquotedWorkspacePiecesAreJoinedAndTheRestPassedThrough) {
  const std::string spaced = ws_ + "\\My Work Space";
  std::filesystem::create_directories(spaced);
  const test::HeldFile held(spaced + "\\.metadata\\.lock");
  install_.setJavaExitCode(-99);
  const test::ProgramRun run = kelpass("-e " + ws_ + "\\My Work Space -u x -exit");
  EXPECT_EQ(run.exitCode, static_cast<DWORD>(-99));
  const auto record = install_.record();
  ASSERT_TRUE(record) << run.output;
  EXPECT_EQ(record->arguments, toolClientArguments({"-u", "x"}));
}

TEST_F(KelpassProcess, LockedWorkspaceGoesThroughKeltoolAndExplainsMinus99) {
  const test::HeldFile held(ws_ + "\\.metadata\\.lock");
  install_.setJavaExitCode(-99);
  const test::ProgramRun run = kelpass("-e \"" + ws_ + "\" -u x");
  EXPECT_EQ(run.exitCode, 0xFFFFFF9Du);
  EXPECT_EQ(linesOf(run.output).back(), kLockedMessage);
  const auto record = install_.record();
  ASSERT_TRUE(record) << run.output;
  EXPECT_EQ(record->commandLine, toolClientLine() + " -u x");
  EXPECT_EQ(record->arguments, toolClientArguments({"-u", "x"}));
  // The stand-in is the only program that leaves a trace in the workspace.
  EXPECT_EQ(test::entriesOf(ws_), Args{".metadata"});
}

TEST_F(KelpassProcess, OtherExitCodesPassOnWithoutMessage) {
  {
    const test::HeldFile held(ws_ + "\\.metadata\\.lock");
    install_.setJavaExitCode(3);
    const test::ProgramRun locked = kelpass("-e \"" + ws_ + "\"");
    EXPECT_EQ(locked.exitCode, 3u);
    EXPECT_EQ(locked.output.find("locked"), std::string::npos);
  }
  install_.setJavaExitCode(-99);
  const test::ProgramRun free = kelpass("-e \"" + ws_ + "\"");
  EXPECT_EQ(free.exitCode, 0xFFFFFF9Du);
  EXPECT_EQ(free.output.find("locked"), std::string::npos) << free.output;
}

// As typed for the C runtime: each argument in quotes, so that kelpass's argv
// holds exactly `kSpecials` (a literal quote written \").
const Args kSpecials = {"a&b", "x|y", "p>q", "c^d", "50%PATH%", "<", "(", ")", "a\"b&c", "d&e", "%%"};
constexpr const char* kSpecialsTyped =
    "\"a&b\" \"x|y\" \"p>q\" \"c^d\" \"50%PATH%\" \"<\" \"(\" \")\" \"a\\\"b&c\" \"d&e\" \"%%\"";

// After -u, so that none of them continues the workspace path.
TEST_F(KelpassProcess, SpecialCharactersArriveUnchangedOnTheFreeRoad) {
  const test::ProgramRun run =
      kelpass("-e \"" + ws_ + "\" -u " + kSpecialsTyped + " \"two words\"");
  EXPECT_EQ(run.exitCode, 0u);
  const auto record = install_.record();
  ASSERT_TRUE(record) << run.output;
  Args passed = {"-u"};
  passed.insert(passed.end(), kSpecials.begin(), kSpecials.end());
  passed.insert(passed.end(), {"two", "words"});
  EXPECT_EQ(record->arguments, applicationArguments(ws_, passed));
}

TEST_F(KelpassProcess, SpecialCharactersArriveUnchangedThroughKeltool) {
  const test::HeldFile held(ws_ + "\\.metadata\\.lock");
  const test::ProgramRun run = kelpass("-e \"" + ws_ + "\" -u " + kSpecialsTyped);
  EXPECT_EQ(run.exitCode, 0u);
  const auto record = install_.record();
  ASSERT_TRUE(record) << run.output;
  Args passed = {"-u"};
  passed.insert(passed.end(), kSpecials.begin(), kSpecials.end());
  EXPECT_EQ(record->arguments, toolClientArguments(passed));
}

// Every path whole on kelpass's own interpreter call and on keltool's.
TEST_F(KelpassProcess, StartsFromHardInstallDirectoriesOnBothRoads) {
  Args passed = {"-u"};
  passed.insert(passed.end(), kSpecials.begin(), kSpecials.end());
  test::forEachHardKelhome(install_, [&](test::SampleInstall& install) {
    const std::string d = install.shortPath();
    install.setJavaExitCode(0);
    const test::ProgramRun free = kelpass("-e \"" + ws_ + "\" -u " + kSpecialsTyped);
    EXPECT_EQ(free.exitCode, 0u) << free.output;
    auto record = install.record();
    ASSERT_TRUE(record) << free.output;
    EXPECT_EQ(record->arguments, applicationArgumentsFor(d, ws_, passed));

    const test::HeldFile held(ws_ + "\\.metadata\\.lock");
    install.setJavaExitCode(-99);
    const test::ProgramRun locked = kelpass("-e \"" + ws_ + "\" -u " + kSpecialsTyped);
    EXPECT_EQ(locked.exitCode, 0xFFFFFF9Du) << locked.output;
    EXPECT_EQ(linesOf(locked.output).back(), kLockedMessage);
    record = install.record();
    ASSERT_TRUE(record) << locked.output;
    EXPECT_EQ(record->arguments, toolClientArgumentsFor(d, passed));
  });
}

TEST_F(KelpassProcess, KelhomeHoldingAQuoteIsRefusedOnBothRoads) {
  const test::ScopedEnvironment quoteInside("KELHOME", "C:\\t\\\"home\"");
  for (const bool locked : {false, true}) {
    std::optional<test::HeldFile> held;
    if (locked) held.emplace(ws_ + "\\.metadata\\.lock");
    const test::ProgramRun run = kelpass("-e \"" + ws_ + "\" -u x");
    EXPECT_EQ(run.exitCode, 0xFFFFFFA0u);
    EXPECT_EQ(run.output,
              "Environment variable KELHOME holds a double quote, which no directory name can hold; "
              "nothing was started.\r\n");
  }
  EXPECT_FALSE(install_.record());
}

TEST_F(KelpassProcess, WorkspaceEndingInBackslashArrivesWholeAndApart) {
  const test::TempDirectory plain("KELws");  // no spaces, so it can be typed unquoted
  const test::ProgramRun run = kelpass("-e " + plain.path() + "\\ -u x");
  EXPECT_EQ(run.exitCode, 0u);
  const auto record = install_.record();
  ASSERT_TRUE(record) << run.output;
  EXPECT_EQ(record->arguments, applicationArguments(plain.path() + "\\", {"-u", "x"}));
}

TEST_F(KelpassProcess, CommandTooLongForCmdIsRefusedAndNothingStarts) {
  std::string many;
  for (int i = 0; i < 1000; ++i) many += " 50%";  // 9,000 characters once escaped
  const test::ProgramRun run = kelpass("-e \"" + ws_ + "\"" + many);
  EXPECT_EQ(run.exitCode, static_cast<DWORD>(-95));
  ASSERT_EQ(linesOf(run.output).size(), 1u) << run.output;
  EXPECT_TRUE(run.output.starts_with("The command line is too long for the command interpreter"));
  EXPECT_FALSE(install_.record());
}

// 8,191 with the pair of quotes that cmd.exe /s /c removes.
TEST_F(KelpassProcess, LongestLineCmdAcceptsArrivesWhole) {
  const std::string prefix = applicationLine("\"" + ws_ + "\"  -v ");
  const std::string filler(8189 - prefix.size(), 'v');
  const test::ProgramRun run = kelpass("-e \"" + ws_ + "\" -v " + filler);
  EXPECT_EQ(run.exitCode, 0u);
  const auto record = install_.record();
  ASSERT_TRUE(record) << run.output.substr(0, 300);
  EXPECT_EQ(record->commandLine.size(), 8189u);
  EXPECT_TRUE(record->commandLine == prefix + filler) << record->commandLine.substr(0, 300);
}

TEST_F(KelpassProcess, KelhomeUnsetOrShort) {
  {
    const test::ScopedEnvironment unset("KELHOME", std::nullopt);
    const test::ProgramRun run = kelpass("-e \"" + ws_ + "\"");
    EXPECT_EQ(run.exitCode, 0xFFFFFFA0u);
    EXPECT_EQ(run.output, "Environment variable KELHOME cannot be resolved.\r\n");
    EXPECT_FALSE(install_.record());
  }
  const test::ScopedEnvironment shortForm("KELHOME", install_.shortPath());
  EXPECT_EQ(kelpass("-e \"" + ws_ + "\"").exitCode, 0u);
  const auto record = install_.record();
  ASSERT_TRUE(record);
  EXPECT_EQ(record->arguments, applicationArguments(ws_, {}));
}

TEST_F(KelpassProcess, EmptyKelhomeRootsEveryPathAtTheCurrentDrive) {
  // This prefix's own drive C:, so that \eclipse\jre\bin\java can be laid out.
  const std::filesystem::path root = "C:\\eclipse";
  ASSERT_FALSE(std::filesystem::exists(root));
  std::filesystem::create_directories(root / "jre" / "bin");
  std::filesystem::copy_file(test::javaStandinExe(), root / "jre" / "bin" / "java.exe");
  const test::ScopedEnvironment empty("KELHOME", "");
  const test::ProgramRun run =
      runProgram(quotedProgram(test::kelpassExe()) + " -e \"" + ws_ + "\"", install_.longPath());
  std::filesystem::remove_all(root);
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  const auto record = install_.record();
  ASSERT_TRUE(record) << run.output;
  EXPECT_TRUE(record->commandLine.starts_with(
      "\\eclipse\\jre\\bin\\java -Xzq -cp \\eclipse\\startup.jar org.eclipse"))
      << record->commandLine;
}

}  // namespace
}  // namespace kel
