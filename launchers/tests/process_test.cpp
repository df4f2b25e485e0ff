// kelpass and keltool started as a user starts them, under Wine with its real
// cmd.exe, against a sample install whose Java runtime is the real one or the
// recording stand-in: what arrives at Java on each road, the workspace lock
// probe as the workspace's files show it, and the launchers' refusals.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "command_line.h"
#include "kel/code_page.h"
#include "launcher_test_support.h"

namespace kel {
namespace {

using test::entriesOf;
using test::HeldFile;
using test::linesOf;
using test::passwordApplication;
using test::toolClient;
using Args = std::vector<std::string>;

std::string inQuotes(const std::string& text) { return "\"" + text + "\""; }

std::string contentOf(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// What the tool client receives on the locked road.
test::JavaRun serverRequest(const Args& passed) {
  Args arguments = {"-s", "SetPassword"};
  arguments.insert(arguments.end(), passed.begin(), passed.end());
  return toolClient(arguments);
}

class LauncherProcess : public testing::Test {
 protected:
  test::ProgramRun kelpass(const std::string& arguments, const std::string& currentDirectory = "") {
    return test::runProgram(inQuotes(test::kelpassExe()) + " " + arguments, currentDirectory);
  }
  test::ProgramRun keltool(const std::string& arguments, const std::string& currentDirectory = "") {
    return test::runProgram(inQuotes(test::keltoolExe()) + arguments, currentDirectory);
  }

  test::SampleInstall install_;
  test::TempDirectory workspace_{"KEL Work Space "};
  std::string ws_ = workspace_.path();
};

TEST_F(LauncherProcess, FreeWorkspaceStartsTheApplicationWithTheShortInstallDir) {
  install_.setJavaExitCode(7);
  const test::ProgramRun run = kelpass("-e " + inQuotes(ws_) + " -u x");
  EXPECT_EQ(run.exitCode, 7u);
  ASSERT_NE(install_.shortPath(), install_.longPath());
  EXPECT_EQ(install_.shortPath().find(' '), std::string::npos);
  EXPECT_EQ(install_.record(), passwordApplication(ws_, {"-u", "x"})) << run.output;
  // -99 is told only on the locked road.
  install_.setJavaExitCode(-99);
  const test::ProgramRun minus99 = kelpass("-e " + inQuotes(ws_));
  EXPECT_EQ(minus99.exitCode, 0xFFFFFF9Du);
  EXPECT_EQ(minus99.output.find("locked"), std::string::npos) << minus99.output;
}

TEST_F(LauncherProcess, NoArgumentsUseTheDefaultWorkspace) {
  const test::ProgramRun run = kelpass("");
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(install_.record(), passwordApplication(install_.shortPath() + "\\eclipse\\workspace", {})) << run.output;
}

TEST_F(LauncherProcess, UnquotedWorkspacePiecesAreJoinedAndTheRestPassedThrough) {
  const std::string spaced = ws_ + "\\My Work Space";
  std::filesystem::create_directories(spaced);
  const HeldFile held(spaced + "\\.metadata\\.lock");
  install_.setJavaExitCode(-99);
  const test::ProgramRun run = kelpass("-e " + ws_ + "\\My Work Space -u x -exit");
  EXPECT_EQ(run.exitCode, static_cast<DWORD>(-99));
  EXPECT_EQ(install_.record(), serverRequest({"-u", "x"})) << run.output;
}

TEST_F(LauncherProcess, LockedWorkspaceGoesThroughKeltoolAndExplainsMinus99) {
  const HeldFile held(ws_ + "\\.metadata\\.lock");
  install_.setJavaExitCode(-99);
  const test::ProgramRun run = kelpass("-e " + inQuotes(ws_) + " -u x");
  EXPECT_EQ(run.exitCode, 0xFFFFFF9Du);
  EXPECT_EQ(linesOf(run.output).back(), LOCKED_WORKSPACE_MESSAGE);
  EXPECT_EQ(install_.record(), serverRequest({"-u", "x"})) << run.output;
  install_.setJavaExitCode(3);
  const test::ProgramRun three = kelpass("-e " + inQuotes(ws_));
  EXPECT_EQ(three.exitCode, 3u);
  EXPECT_EQ(three.output.find("locked"), std::string::npos);
}

// What the probe makes of each state of a workspace, seen by the road kelpass
// takes and what is left in the workspace.
TEST_F(LauncherProcess, TheProbeTellsAHeldWorkspaceAndLeavesNothingOfItsOwn) {
  using Names = std::vector<std::string>;
  const std::string metadata = ws_ + "\\.metadata";
  const std::string lock = metadata + "\\.lock";
  const auto road = [&](const std::string& workspace) {
    EXPECT_EQ(kelpass("-e " + inQuotes(workspace)).exitCode, 0u);
    const std::optional<test::JavaRun> record = install_.record();
    return record ? record->program : "nothing ran";
  };
  const std::string free = "org.eclipse.core.launcher.Main";
  const std::string locked = "keltoolClient.jar";

  EXPECT_EQ(road(ws_ + "\\not there"), free);
  EXPECT_FALSE(std::filesystem::exists(ws_ + "\\not there"));
  EXPECT_EQ(road(ws_), free) << "a workspace never opened";
  EXPECT_EQ(entriesOf(ws_), Names{});
  std::filesystem::create_directories(metadata);
  EXPECT_EQ(road(ws_), free);
  EXPECT_EQ(entriesOf(metadata), Names{}) << "the lock file the probe made";
  std::ofstream(lock) << "stale";
  EXPECT_EQ(road(ws_), free);
  EXPECT_EQ(entriesOf(metadata), Names{}) << "a stale lock file goes";
  {
    const HeldFile held(lock);
    EXPECT_EQ(road(ws_), locked);
    EXPECT_EQ(entriesOf(ws_), Names{".metadata"});
    EXPECT_EQ(entriesOf(metadata), Names{".lock"});
    // The user's testFile.txt is not the probe's to touch, read-only and held open or not.
    const std::string testFile = ws_ + "\\testFile.txt";
    std::ofstream(testFile) << "the user's notes";
    EXPECT_EQ(road(ws_), locked);
    ::SetFileAttributesA(testFile.c_str(), FILE_ATTRIBUTE_READONLY);
    {
      const unique_file_handle reader(::CreateFileA(testFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                                    nullptr));
      EXPECT_EQ(road(ws_), locked);
    }
    ::SetFileAttributesA(testFile.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(contentOf(testFile), "the user's notes");
    EXPECT_EQ(entriesOf(ws_), (Names{".metadata", "testFile.txt"}));
  }
}

// The IDE's platform holds its lock file open for reading and writing, shared
// for both, with an exclusive lock on it: a Java process where the real
// runtime runs, else this process the same way.
TEST_F(LauncherProcess, AWorkspaceHeldAsTheIdeHoldsItIsLockedUntilItsHolderLetsGo) {
  const std::string lock = ws_ + "\\.metadata\\.lock";
  const std::string release = ws_ + "\\release";
  std::optional<test::BackgroundProgram> java;
  unique_file_handle file;
  OVERLAPPED whole{};
  if (test::realJava()) {
    java.emplace(inQuotes(install_.shortPath() + "\\eclipse\\jre\\bin\\java.exe") + " -cp " + install_.shortPath() +
                     "\\eclipse\\startup.jar com.vum.kel.launchertest.HoldWorkspaceLock " + inQuotes(ws_) + " " +
                     inQuotes(release),
                 "holding");
    ASSERT_TRUE(java->said()) << java->output();
  } else {
    std::filesystem::create_directories(ws_ + "\\.metadata");
    std::ofstream(lock) << "owner";
    file.reset(::CreateFileA(lock.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(::LockFileEx(file.get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole));
  }
  const test::ProgramRun locked = kelpass("-e " + inQuotes(ws_) + " -u x");
  EXPECT_EQ(locked.exitCode, 0u) << locked.output;
  EXPECT_EQ(install_.record(), serverRequest({"-u", "x"})) << locked.output;
  if (java) {
    std::ofstream(release).put('x');
    EXPECT_EQ(java->exitCode(), 0u) << java->output();
  } else {
    ::UnlockFileEx(file.get(), 0, 1, 0, &whole);
    file.reset();
    EXPECT_EQ(contentOf(lock), "owner");
  }
  const test::ProgramRun free = kelpass("-e " + inQuotes(ws_) + " -u x");
  EXPECT_EQ(free.exitCode, 0u) << free.output;
  EXPECT_EQ(install_.record(), passwordApplication(ws_, {"-u", "x"})) << free.output;
}

// Run by probe_readonly_workspace.sh, which makes a workspace in which
// nothing can be created or deleted (even by root) and names it in
// KEL_READONLY_WORKSPACE; a Windows program cannot do that itself under Wine.
TEST_F(LauncherProcess, DISABLED_ReadOnlyWorkspaceIsNotLocked) {
  const char* workspace = std::getenv("KEL_READONLY_WORKSPACE");
  ASSERT_NE(workspace, nullptr);
  const std::vector<std::string> before = entriesOf(workspace);
  ASSERT_EQ(before, (std::vector<std::string>{".metadata"}));
  EXPECT_EQ(kelpass("-e " + inQuotes(workspace)).exitCode, 0u);
  EXPECT_EQ(install_.record(), passwordApplication(workspace, {}));
  EXPECT_EQ(entriesOf(workspace), before);
  EXPECT_EQ(entriesOf(std::string(workspace) + "\\.metadata"), std::vector<std::string>{".lock"});
}

// As typed for the C runtime: each argument in quotes, so that the launchers'
// argv holds exactly SPECIALS (a literal quote written \"); * and ? would
// name the files ab1 and ab2 in the current directory to a Java launcher.
const Args SPECIALS = {"a&b", "x|y", "p>q", "c^d", "50%PATH%", "<", "(", ")", "a\"b&c", "d&e", "%%", "ab*", "ab?"};
constexpr const char* SPECIALS_TYPED =
    "\"a&b\" \"x|y\" \"p>q\" \"c^d\" \"50%PATH%\" \"<\" \"(\" \")\" \"a\\\"b&c\" \"d&e\" \"%%\" ab* ab?";

// After -u, so that none of them continues the workspace path; an argument
// with a space arrives as its words.
TEST_F(LauncherProcess, SpecialCharactersArriveUnchangedOnEveryRoad) {
  const test::TempDirectory here("KEL wildcards ");
  for (const char* file : {"ab1", "ab2"}) std::ofstream(here.path() + "\\" + file).put('x');
  Args passed = {"-u"};
  passed.insert(passed.end(), SPECIALS.begin(), SPECIALS.end());
  Args words = passed;
  words.insert(words.end(), {"two", "words"});
  const std::string typed = std::string(" -u ") + SPECIALS_TYPED + " \"two words\"";
  EXPECT_EQ(kelpass("-e " + inQuotes(ws_) + typed, here.path()).exitCode, 0u);
  EXPECT_EQ(install_.record(), passwordApplication(ws_, words));
  EXPECT_EQ(keltool(typed, here.path()).exitCode, 0u);
  EXPECT_EQ(install_.record(), toolClient(words));
  const HeldFile held(ws_ + "\\.metadata\\.lock");
  EXPECT_EQ(kelpass("-e " + inQuotes(ws_) + typed, here.path()).exitCode, 0u);
  EXPECT_EQ(install_.record(), serverRequest(words));
}

// Every path whole on kelpass's own interpreter call and on keltool's.
TEST_F(LauncherProcess, StartsFromHardInstallDirectoriesOnEveryRoad) {
  Args passed = {"-u"};
  passed.insert(passed.end(), SPECIALS.begin(), SPECIALS.end());
  test::forEachHardKelhome(install_, [&](test::SampleInstall& install) {
    install.setJavaExitCode(0);
    const test::ProgramRun free = kelpass("-e " + inQuotes(ws_) + " -u " + SPECIALS_TYPED);
    EXPECT_EQ(free.exitCode, 0u) << free.output;
    EXPECT_EQ(install.record(), passwordApplication(ws_, passed)) << free.output;
    const test::ProgramRun client = keltool(std::string(" -u ") + SPECIALS_TYPED);
    EXPECT_EQ(client.exitCode, 0u) << client.output;
    EXPECT_EQ(install.record(), toolClient(passed)) << client.output;

    const HeldFile held(ws_ + "\\.metadata\\.lock");
    install.setJavaExitCode(-99);
    const test::ProgramRun locked = kelpass("-e " + inQuotes(ws_) + " -u " + SPECIALS_TYPED);
    EXPECT_EQ(locked.exitCode, 0xFFFFFF9Du) << locked.output;
    EXPECT_EQ(linesOf(locked.output).back(), LOCKED_WORKSPACE_MESSAGE);
    EXPECT_EQ(install.record(), serverRequest(passed)) << locked.output;
  });
}

TEST_F(LauncherProcess, WorkspaceEndingInBackslashArrivesWholeAndApart) {
  const test::TempDirectory plain("KELws");  // no spaces, so it can be typed unquoted
  const test::ProgramRun run = kelpass("-e " + plain.path() + "\\ -u x");
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(install_.record(), passwordApplication(plain.path() + "\\", {"-u", "x"})) << run.output;
}

// 8,191 with the pair of quotes that cmd.exe /s /c removes; one more is refused.
TEST_F(LauncherProcess, TheLongestLineCmdAcceptsArrivesWholeAndALongerOneStartsNothing) {
  const std::u16string shortest = applicationCommand(test::wideOf(install_.shortPath()), test::wideOf(ws_),
                                                     std::vector<std::u16string>{u"-v"});
  const std::string filler(MAX_INTERPRETER_LINE - 2 - shortest.size() - 1, 'v');
  const test::ProgramRun run = kelpass("-e " + inQuotes(ws_) + " -v " + filler);
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_TRUE(install_.record() == passwordApplication(ws_, {"-v", filler})) << run.output.substr(0, 300);
  const test::ProgramRun longer = kelpass("-e " + inQuotes(ws_) + " -v " + filler + "v");
  EXPECT_EQ(longer.exitCode, static_cast<DWORD>(COMMAND_REFUSED_CODE));
  ASSERT_EQ(linesOf(longer.output).size(), 1u) << longer.output;
  EXPECT_TRUE(longer.output.starts_with("The command line is too long for the command interpreter"));
  EXPECT_FALSE(install_.record());
}

// Each launcher's own line and exit code; nothing starts.
TEST_F(LauncherProcess, KelhomeUnsetOrHoldingAQuoteStartsNothing) {
  const std::string quote = std::string(KELHOME_HOLDS_QUOTE_MESSAGE) + "\r\n";
  struct Case {
    std::optional<std::string> kelhome;
    bool kelpass;
    DWORD exitCode;
    std::string output;
  };
  const Case cases[] = {
      {std::nullopt, true, 0xFFFFFFA0u, std::string(KELPASS_KELHOME_NOT_SET_MESSAGE) + "\r\n"},
      {std::nullopt, false, 0xFFFFFFFFu, std::string(KELTOOL_KELHOME_NOT_SET_MESSAGE) + "\r\n"},
      {"C:\\t\\\"home\"", true, 0xFFFFFFA0u, quote},
      {"C:\\t\\\"home\"", false, 0xFFFFFFFFu, quote},
  };
  for (const Case& c : cases) {
    const test::ScopedEnvironment kelhome("KELHOME", c.kelhome);
    const test::ProgramRun run = c.kelpass ? kelpass("-e " + inQuotes(ws_) + " -u x") : keltool(" -s SetPassword");
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.output, c.output);
  }
  EXPECT_FALSE(install_.record());
}

// Already short, or named in another case: the same install.
TEST_F(LauncherProcess, KelhomeShortOrInAnyCaseIsTheSameInstall) {
  for (const char* name : {"KELHOME", "kelhome"}) {
    const test::ScopedEnvironment unset("KELHOME", std::nullopt);
    const test::ScopedEnvironment shortForm(name, install_.shortPath());
    EXPECT_EQ(kelpass("-e " + inQuotes(ws_)).exitCode, 0u);
    EXPECT_EQ(install_.record(), passwordApplication(ws_, {})) << name;
  }
}

TEST_F(LauncherProcess, EmptyKelhomeRootsEveryPathAtTheCurrentDrive) {
  // This prefix's own drive C:, so that \eclipse\jre\bin\java can be laid out.
  const std::filesystem::path root = "C:\\";
  for (const char* laidOut : {"eclipse", "keltool.exe"}) test::removeOnceReleased(root / laidOut);
  test::layOutInstall(root);
  const test::ScopedEnvironment empty("KELHOME", "");
  // The stand-in's class path, \eclipse\startup.jar, names a file on the drive it ran on.
  char ownDirectory[MAX_PATH];
  ::GetCurrentDirectoryA(MAX_PATH, ownDirectory);
  ::SetCurrentDirectoryA(install_.longPath().c_str());
  const test::ProgramRun run = kelpass("-e " + inQuotes(ws_));
  const std::optional<test::JavaRun> record = install_.record();
  ::SetCurrentDirectoryA(ownDirectory);
  for (const char* laidOut : {"eclipse", "keltool.exe"}) test::removeOnceReleased(root / laidOut);
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_EQ(record, passwordApplication(ws_, {})) << run.output;
}

// The registry could turn on cmd.exe's AutoRun command and delayed expansion
// (a password Secret!x! would lose !x!); the switches turn both off whatever
// it says. Wine's cmd.exe reads neither key, so the stand-in in its place
// shows the switches and that its exit code comes back. Without a usable
// ComSpec the system folder's cmd.exe runs, not one planted in the current
// directory.
TEST_F(LauncherProcess, InterpreterGetsItsSwitchesAndTheLineInOnePairOfQuotes) {
  install_.setJavaExitCode(-99);
  {
    const test::ScopedEnvironment recorder("ComSpec", test::javaStandinExe());
    EXPECT_EQ(keltool(" -p Secret!x! a&b").exitCode, 0xFFFFFF9Du);
    const auto record = install_.standinRecord();
    ASSERT_TRUE(record);
    const std::string start = inQuotes(test::javaStandinExe()) + " /d /v:off /e:on /s /c \"";
    EXPECT_TRUE(record->commandLine.starts_with(start)) << record->commandLine;
    EXPECT_TRUE(record->commandLine.ends_with(".jar -p Secret!x! a^&b\"")) << record->commandLine;
  }
  const test::TempDirectory planted("KEL planted cmd ");
  std::filesystem::copy_file(test::javaStandinExe(), planted.path() + "\\cmd.exe");
  for (const std::optional<std::string>& comSpec : {std::optional<std::string>(), std::optional<std::string>("C:\\none\\cmd.exe")}) {
    const test::ScopedEnvironment unusable("ComSpec", comSpec);
    EXPECT_EQ(keltool(" -p Secret!x!", planted.path()).exitCode, 0xFFFFFF9Du);
    EXPECT_EQ(install_.record(), toolClient({"-p", "Secret!x!"}));
  }
}

}  // namespace
}  // namespace kel
