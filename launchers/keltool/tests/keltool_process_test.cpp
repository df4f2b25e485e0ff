// keltool started as a user or kelpass starts it, under Wine with its real
// cmd.exe, against a sample install whose Java runtime is the real one or
// the recording stand-in: what arrives at the tool client.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <utility>

#include "launcher_test_support.h"

namespace kel {
namespace {

using test::toolClient;

class KeltoolProcess : public testing::Test {
 protected:
  test::ProgramRun keltool(const std::string& arguments, const std::string& currentDirectory = "") {
    std::string commandLine = "\"";
    commandLine += test::keltoolExe();
    commandLine += '"';
    return test::runProgram(commandLine + arguments, currentDirectory);
  }

  test::SampleInstall install_;
};

TEST_F(KeltoolProcess, PassesArgumentsAndTheClientsExitCode) {
  install_.setJavaExitCode(-99);
  const test::ProgramRun run = keltool(" -s SetPassword x");
  EXPECT_EQ(run.exitCode, 0xFFFFFF9Du);
  EXPECT_EQ(install_.record(), toolClient({"-s", "SetPassword", "x"})) << run.output;
}

// The registry could turn on cmd.exe's AutoRun command and delayed expansion
// (a password Secret!x! would lose !x!); the switches turn both off whatever
// it says. Wine's cmd.exe reads neither key, so the stand-in in its place
// shows the switches and that its exit code comes back. Without a usable
// ComSpec the system folder's cmd.exe runs, not one planted in the current
// directory.
TEST_F(KeltoolProcess, InterpreterGetsItsSwitchesAndTheLineInOnePairOfQuotes) {
  install_.setJavaExitCode(-99);
  {
    const test::ScopedEnvironment recorder("ComSpec", test::javaStandinExe());
    EXPECT_EQ(keltool(" -p Secret!x! a&b").exitCode, 0xFFFFFF9Du);
    const auto record = install_.standinRecord();
    ASSERT_TRUE(record);
    const std::string start = "\"" + test::javaStandinExe() + "\" /d /v:off /e:on /s /c \"";
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

TEST_F(KeltoolProcess, NoArgumentsGiveTheClientNone) {
  install_.setJavaExitCode(12);
  EXPECT_EQ(keltool("").exitCode, 12u);
  EXPECT_EQ(install_.record(), toolClient({}));
}

// Spaces split an argument into words, as they always did; * and ? reach
// the client as typed, though files they match lie in the current directory.
TEST_F(KeltoolProcess, SpecialCharactersArriveUnchangedAndSpacesSplit) {
  const test::TempDirectory here("KEL wildcards ");
  for (const char* file : {"ab1", "ab2"}) std::ofstream(here.path() + "\\" + file).put('x');
  const test::ProgramRun run = keltool(
      " \"a&b\" \"x|y\" \"p>q\" \"c^d\" \"50%PATH%\" \"<\" \"(\" \")\" \"a\\\"b&c\" \"two words\" C:\\dir\\ ab* \"a?b c*\"",
      here.path());
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_EQ(install_.record(), toolClient({"a&b", "x|y", "p>q", "c^d", "50%PATH%", "<", "(", ")", "a\"b&c", "two",
                                           "words", "C:\\dir\\", "ab*", "a?b", "c*"}))
      << run.output;
}

TEST_F(KeltoolProcess, StartsFromHardInstallDirectories) {
  test::forEachHardKelhome(install_, [&](test::SampleInstall& install) {
    const test::ProgramRun run = keltool(" -s SetPassword \"a&b\" \"50%PATH%\" \"(x)\" \"c^d\"");
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_EQ(install.record(), toolClient({"-s", "SetPassword", "a&b", "50%PATH%", "(x)", "c^d"})) << run.output;
  });
}

TEST_F(KeltoolProcess, KelhomeUnsetOrHoldingAQuoteIsMinusOne) {
  const std::pair<std::optional<std::string>, std::string> cases[] = {
      {std::nullopt, "Enviroment variable KELHOME could not be resolved.\r\n"},
      {"C:\\t\\\"home\"",
       "Environment variable KELHOME holds a double quote, which no directory name can hold; "
       "nothing was started.\r\n"}};
  for (const auto& [kelhome, output] : cases) {
    const test::ScopedEnvironment value("KELHOME", kelhome);
    const test::ProgramRun run = keltool(" -s SetPassword");
    EXPECT_EQ(run.exitCode, 0xFFFFFFFFu);
    EXPECT_EQ(run.output, output);
  }
  EXPECT_FALSE(install_.record());
}

TEST_F(KeltoolProcess, CommandTooLongForCmdIsRefusedAndNothingStarts) {
  const test::ProgramRun run = keltool(" " + std::string(8200, 'x'));
  EXPECT_EQ(run.exitCode, static_cast<DWORD>(-95));
  EXPECT_TRUE(run.output.starts_with("The command line is too long for the command interpreter"))
      << run.output;
  EXPECT_FALSE(install_.record());
}

}  // namespace
}  // namespace kel
