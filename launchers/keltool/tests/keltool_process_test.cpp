// keltool started as a user or kelpass starts it, under Wine with its real
// cmd.exe, against a sample install whose Java runtime is the recording stand-in.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <utility>

#include "launcher_test_support.h"

namespace kel {
namespace {

using Args = std::vector<std::string>;

// What the stand-in receives with `d` as the install directory.
Args clientArgumentsFor(const std::string& d, const Args& passed) {
  Args expected = {d + "\\eclipse\\jre\\bin\\java", "-jar",
                   d + "\\eclipse\\plugins\\com.vum.kel.KELtoolClient\\keltoolClient.jar"};
  expected.insert(expected.end(), passed.begin(), passed.end());
  return expected;
}

class KeltoolProcess : public testing::Test {
 protected:
  test::ProgramRun keltool(const std::string& arguments, const std::string& currentDirectory = "") {
    std::string commandLine = "\"";
    commandLine += test::keltoolExe();
    commandLine += '"';
    return test::runProgram(commandLine + arguments, currentDirectory);
  }
  std::string clientLine() const {
    const std::string d = install_.shortPath();
    return d + "\\eclipse\\jre\\bin\\java -jar " + d +
           "\\eclipse\\plugins\\com.vum.kel.KELtoolClient\\keltoolClient.jar";
  }
  Args clientArguments(const Args& passed) const {
    return clientArgumentsFor(install_.shortPath(), passed);
  }

  test::SampleInstall install_;
};

TEST_F(KeltoolProcess, PassesArgumentsAndTheClientsExitCode) {
  install_.setJavaExitCode(-99);
  const test::ProgramRun run = keltool(" -s SetPassword x");
  EXPECT_EQ(run.exitCode, 0xFFFFFF9Du);
  const auto record = install_.record();
  ASSERT_TRUE(record) << run.output;
  EXPECT_EQ(record->commandLine, clientLine() + " -s SetPassword x");
  EXPECT_EQ(record->arguments, clientArguments({"-s", "SetPassword", "x"}));
}

// The registry could turn on cmd.exe's AutoRun command and delayed expansion
// (a password Secret!x! would lose !x!); the switches turn both off whatever
// it says. Wine's cmd.exe reads neither key, so a recorder in its place shows
// the switches and that its exit code comes back. Without a usable ComSpec
// the system folder's cmd.exe runs, not one planted in the current directory.
TEST_F(KeltoolProcess, InterpreterGetsItsSwitchesAndTheLineInOnePairOfQuotes) {
  install_.setJavaExitCode(-99);
  {
    const test::ScopedEnvironment recorder("ComSpec", test::javaStandinExe());
    EXPECT_EQ(keltool(" -p Secret!x! a&b").exitCode, 0xFFFFFF9Du);
    const auto record = install_.record();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->commandLine, "\"" + test::javaStandinExe() + "\" /d /v:off /e:on /s /c \"" + clientLine() +
                                       " -p Secret!x! a^&b\"");
  }
  const test::TempDirectory planted("KEL planted cmd ");
  std::filesystem::copy_file(test::javaStandinExe(), planted.path() + "\\cmd.exe");
  for (const std::optional<std::string>& comSpec : {std::optional<std::string>(), std::optional<std::string>("C:\\none\\cmd.exe")}) {
    const test::ScopedEnvironment unusable("ComSpec", comSpec);
    EXPECT_EQ(keltool(" -p Secret!x!", planted.path()).exitCode, 0xFFFFFF9Du);
    const auto record = install_.record();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->arguments, clientArguments({"-p", "Secret!x!"}));
  }
}

TEST_F(KeltoolProcess, NoArgumentsEndWithTheJarName) {
  install_.setJavaExitCode(12);
  EXPECT_EQ(keltool("").exitCode, 12u);
  const auto record = install_.record();
  ASSERT_TRUE(record);
  EXPECT_EQ(record->commandLine, clientLine());
}

TEST_F(KeltoolProcess, SpecialCharactersArriveUnchangedAndSpacesSplit) {
  const test::ProgramRun run = keltool(
      " \"a&b\" \"x|y\" \"p>q\" \"c^d\" \"50%PATH%\" \"<\" \"(\" \")\" \"a\\\"b&c\" \"two words\" C:\\dir\\");
  EXPECT_EQ(run.exitCode, 0u);
  const auto record = install_.record();
  ASSERT_TRUE(record) << run.output;
  EXPECT_EQ(record->arguments, clientArguments({"a&b", "x|y", "p>q", "c^d", "50%PATH%", "<", "(", ")",
                                                "a\"b&c", "two", "words", "C:\\dir\\"}));
}

TEST_F(KeltoolProcess, StartsFromHardInstallDirectories) {
  test::forEachHardKelhome(install_, [&](test::SampleInstall& install) {
    const test::ProgramRun run = keltool(" -s SetPassword \"a&b\" \"50%PATH%\" \"(x)\" \"c^d\"");
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    const auto record = install.record();
    ASSERT_TRUE(record) << run.output;
    EXPECT_EQ(record->arguments,
              clientArgumentsFor(install.shortPath(), {"-s", "SetPassword", "a&b", "50%PATH%", "(x)", "c^d"}));
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
