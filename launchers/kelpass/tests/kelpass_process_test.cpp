// kelpass started as a user starts it, under Wine with its real cmd.exe,
// against a sample install whose Java runtime is the real one or the
// recording stand-in: what arrives at Java on each road.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "kel/code_page.h"
#include "kelpass_commands.h"
#include "launcher_test_support.h"

namespace kel {
namespace {

using test::linesOf;
using test::passwordApplication;
using test::runProgram;
using test::toolClient;
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

// What the tool client receives on the locked road.
test::JavaRun serverRequest(const Args& passed) {
  Args arguments = {"-s", "SetPassword"};
  arguments.insert(arguments.end(), passed.begin(), passed.end());
  return toolClient(arguments);
}

class KelpassProcess : public testing::Test {
 protected:
  test::ProgramRun kelpass(const std::string& arguments, const std::string& currentDirectory = "") {
    return runProgram(quotedProgram(test::kelpassExe()) + " " + arguments, currentDirectory);
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
  EXPECT_EQ(install_.record(), passwordApplication(ws_, {"-u", "x"})) << run.output;
}

TEST_F(KelpassProcess, NoArgumentsUseTheDefaultWorkspace) {
  const test::ProgramRun run = kelpass("");
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(install_.record(), passwordApplication(install_.shortPath() + "\\eclipse\\workspace", {})) << run.output;
}

TEST_F(KelpassProcess, UnquotedWorkspacePiecesAreJoinedAndTheRestPassedThrough) {
  const std::string spaced = ws_ + "\\My Work Space";
  std::filesystem::create_directories(spaced);
  const test::HeldFile held(spaced + "\\.metadata\\.lock");
  install_.setJavaExitCode(-99);
  const test::ProgramRun run = kelpass("-e " + ws_ + "\\My Work Space -u x -exit");
  EXPECT_EQ(run.exitCode, static_cast<DWORD>(-99));
  EXPECT_EQ(install_.record(), serverRequest({"-u", "x"})) << run.output;
}

TEST_F(KelpassProcess, LockedWorkspaceGoesThroughKeltoolAndExplainsMinus99) {
  const test::HeldFile held(ws_ + "\\.metadata\\.lock");
  install_.setJavaExitCode(-99);
  const test::ProgramRun run = kelpass("-e \"" + ws_ + "\" -u x");
  EXPECT_EQ(run.exitCode, 0xFFFFFF9Du);
  EXPECT_EQ(linesOf(run.output).back(), kLockedMessage);
  EXPECT_EQ(install_.record(), serverRequest({"-u", "x"})) << run.output;
  // Java is the only program that leaves a trace in the workspace.
  EXPECT_EQ(test::entriesOf(ws_), Args{".metadata"});
}

// The IDE's platform holds its lock through Java's own file lock.
TEST_F(KelpassProcess, AWorkspaceJavaHoldsIsLockedUntilItsHolderEnds) {
  if (!test::realJava()) GTEST_SKIP() << "the Java runtime is the stand-in here";
  const std::string release = ws_ + "\\release";
  const std::string holder = quotedProgram(install_.shortPath() + "\\eclipse\\jre\\bin\\java.exe") + " -cp " +
                             install_.shortPath() + "\\eclipse\\startup.jar com.vum.kel.launchertest.HoldWorkspaceLock " +
                             quotedProgram(ws_) + " " + quotedProgram(release);
  test::BackgroundProgram held(holder, "holding");
  ASSERT_TRUE(held.said()) << held.output();
  const test::ProgramRun locked = kelpass("-e \"" + ws_ + "\" -u x");
  EXPECT_EQ(locked.exitCode, 0u) << locked.output;
  EXPECT_EQ(install_.record(), serverRequest({"-u", "x"})) << locked.output;
  std::ofstream(release).put('x');
  EXPECT_EQ(held.exitCode(), 0u) << held.output();
  const test::ProgramRun free = kelpass("-e \"" + ws_ + "\" -u x");
  EXPECT_EQ(free.exitCode, 0u) << free.output;
  EXPECT_EQ(install_.record(), passwordApplication(ws_, {"-u", "x"})) << free.output;
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
// holds exactly `kSpecials` (a literal quote written \"); * and ? would name
// the files ab1 and ab2 in the current directory to a Java launcher.
const Args kSpecials = {"a&b", "x|y", "p>q", "c^d", "50%PATH%", "<", "(", ")", "a\"b&c", "d&e", "%%", "ab*", "ab?"};
constexpr const char* kSpecialsTyped =
    "\"a&b\" \"x|y\" \"p>q\" \"c^d\" \"50%PATH%\" \"<\" \"(\" \")\" \"a\\\"b&c\" \"d&e\" \"%%\" ab* ab?";

// After -u, so that none of them continues the workspace path.
TEST_F(KelpassProcess, SpecialCharactersArriveUnchangedOnBothRoads) {
  const test::TempDirectory here("KEL wildcards ");
  for (const char* file : {"ab1", "ab2"}) std::ofstream(here.path() + "\\" + file).put('x');
  Args passed = {"-u"};
  passed.insert(passed.end(), kSpecials.begin(), kSpecials.end());
  const test::ProgramRun free = kelpass("-e \"" + ws_ + "\" -u " + kSpecialsTyped + " \"two words\"", here.path());
  EXPECT_EQ(free.exitCode, 0u);
  Args words = passed;
  words.insert(words.end(), {"two", "words"});
  EXPECT_EQ(install_.record(), passwordApplication(ws_, words)) << free.output;

  const test::HeldFile held(ws_ + "\\.metadata\\.lock");
  const test::ProgramRun locked = kelpass("-e \"" + ws_ + "\" -u " + kSpecialsTyped, here.path());
  EXPECT_EQ(locked.exitCode, 0u);
  EXPECT_EQ(install_.record(), serverRequest(passed)) << locked.output;
}

// Every path whole on kelpass's own interpreter call and on keltool's.
TEST_F(KelpassProcess, StartsFromHardInstallDirectoriesOnBothRoads) {
  Args passed = {"-u"};
  passed.insert(passed.end(), kSpecials.begin(), kSpecials.end());
  test::forEachHardKelhome(install_, [&](test::SampleInstall& install) {
    install.setJavaExitCode(0);
    const test::ProgramRun free = kelpass("-e \"" + ws_ + "\" -u " + kSpecialsTyped);
    EXPECT_EQ(free.exitCode, 0u) << free.output;
    EXPECT_EQ(install.record(), passwordApplication(ws_, passed)) << free.output;

    const test::HeldFile held(ws_ + "\\.metadata\\.lock");
    install.setJavaExitCode(-99);
    const test::ProgramRun locked = kelpass("-e \"" + ws_ + "\" -u " + kSpecialsTyped);
    EXPECT_EQ(locked.exitCode, 0xFFFFFF9Du) << locked.output;
    EXPECT_EQ(linesOf(locked.output).back(), kLockedMessage);
    EXPECT_EQ(install.record(), serverRequest(passed)) << locked.output;
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
  EXPECT_EQ(install_.record(), passwordApplication(plain.path() + "\\", {"-u", "x"})) << run.output;
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
  const std::size_t shortest =
      applicationCommand(text::fromAnsi(install_.shortPath()), text::fromAnsi(ws_), std::vector<std::u16string>{u"-v"})
          .size();
  const std::string filler(8189 - shortest - 1, 'v');
  const test::ProgramRun run = kelpass("-e \"" + ws_ + "\" -v " + filler);
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_TRUE(install_.record() == passwordApplication(ws_, {"-v", filler})) << run.output.substr(0, 300);
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
  EXPECT_EQ(install_.record(), passwordApplication(ws_, {}));
}

TEST_F(KelpassProcess, EmptyKelhomeRootsEveryPathAtTheCurrentDrive) {
  // This prefix's own drive C:, so that \eclipse\jre\bin\java can be laid out.
  const std::filesystem::path root = "C:\\";
  for (const char* laidOut : {"eclipse", "keltool.exe"}) test::removeOnceReleased(root / laidOut);
  test::layOutInstall(root);
  const test::ScopedEnvironment empty("KELHOME", "");
  // The stand-in's class path, \eclipse\startup.jar, names a file on the drive it ran on.
  char ownDirectory[MAX_PATH];
  ::GetCurrentDirectoryA(MAX_PATH, ownDirectory);
  ::SetCurrentDirectoryA(install_.longPath().c_str());
  const test::ProgramRun run = kelpass("-e \"" + ws_ + "\"");
  const std::optional<test::JavaRun> record = install_.record();
  ::SetCurrentDirectoryA(ownDirectory);
  for (const char* laidOut : {"eclipse", "keltool.exe"}) test::removeOnceReleased(root / laidOut);
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_EQ(record, passwordApplication(ws_, {})) << run.output;
}

}  // namespace
}  // namespace kel
