// What the user types in and out of the ANSI code page, through both
// launchers started with a Unicode command line as Windows starts them.
// Registered under LC_ALL=C.UTF-8 (code page 1252) and ru_RU.UTF-8 (1251).
#include <gtest/gtest.h>

#include <filesystem>

#include "code_page_words.h"
#include "kel/code_page.h"
#include "kel/text_encoding.h"
#include "launcher_test_support.h"

namespace kel {
namespace {

using Args = std::vector<std::string>;

// The shared words as the user types them, in UTF-16.
std::u16string typed(const std::string& modifiedUtf8) { return text::decodeModifiedUtf8(modifiedUtf8).value(); }

std::u16string inQuotes(const std::string& path) { return u"\"" + text::fromAnsi(path) + u"\""; }

const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

// The short form Windows gives an existing path, in the code page; what the
// launchers are to pass on for a path the code page cannot carry.
std::string shortFormOf(const std::u16string& path) {
  wchar_t shortForm[MAX_PATH];
  const DWORD length = ::GetShortPathNameW(wide(path), shortForm, MAX_PATH);
  EXPECT_GT(length, 0u);
  EXPECT_LT(length, DWORD{MAX_PATH});
  return text::toAnsi(std::u16string(reinterpret_cast<const char16_t*>(shortForm), length)).value_or("");
}

std::string refusal(const char* what) {
  return std::string(what) + " holds a character that the system's code page (" + std::to_string(::GetACP()) +
         ") cannot pass on; nothing was started.\r\n";
}

class LauncherText : public testing::Test {
 protected:
  test::ProgramRun kelpass(const std::u16string& arguments) {
    return test::runProgram(inQuotes(test::kelpassExe()) + u" -e " + inQuotes(ws_) + u" -u x -p " + arguments);
  }
  test::ProgramRun keltool(const std::u16string& arguments) {
    return test::runProgram(inQuotes(test::keltoolExe()) + u" -p " + arguments);
  }

  test::CodePageWords words_ = test::wordsOfThisCodePage();
  std::u16string own_ = typed(words_.java);
  std::u16string foreign_ = typed(words_.foreign);
  test::SampleInstall install_;
  test::TempDirectory workspace_{"KEL Text Workspace "};
  std::string ws_ = workspace_.path();
};

TEST_F(LauncherText, APasswordTheCodePageHoldsPassesUnchangedAndAnyOtherIsRefused) {
  // U+FF02 and U+FF1A would otherwise reach the programs as " and :.
  for (const std::u16string& password : {foreign_, std::u16string(u"a\uFF02 -s x"), std::u16string(u"C\uFF1A")}) {
    const test::ProgramRun freeRoad = kelpass(password);
    EXPECT_EQ(freeRoad.exitCode, static_cast<DWORD>(-94));
    EXPECT_EQ(freeRoad.output, refusal("An argument"));
    const test::ProgramRun client = keltool(password);
    EXPECT_EQ(client.exitCode, static_cast<DWORD>(-94));
    EXPECT_EQ(client.output, refusal("An argument"));
  }
  EXPECT_FALSE(install_.record()) << "nothing was to be started";

  EXPECT_EQ(kelpass(own_).exitCode, 0u);
  ASSERT_TRUE(install_.record());
  EXPECT_EQ(install_.record()->arguments.back(), words_.ansi);
  {
    const test::HeldFile held(ws_ + "\\.metadata\\.lock");
    EXPECT_EQ(kelpass(own_).exitCode, 0u);
    ASSERT_TRUE(install_.record());
    EXPECT_EQ(install_.record()->arguments,
              (Args{install_.shortPath() + "\\eclipse\\jre\\bin\\java", "-jar",
                    install_.shortPath() + "\\eclipse\\plugins\\com.vum.kel.KELtoolClient\\keltoolClient.jar", "-s",
                    "SetPassword", "-u", "x", "-p", words_.ansi}));
  }
  EXPECT_EQ(keltool(own_).exitCode, 0u);
  ASSERT_TRUE(install_.record());
  EXPECT_EQ(install_.record()->arguments.back(), words_.ansi);
}

TEST_F(LauncherText, AnInstallAndAWorkspaceNamedBeyondTheCodePageStartBothLaunchersByTheirShortForms) {
  const std::filesystem::path samples = std::filesystem::path(install_.longPath()).parent_path();
  const std::u16string home = text::fromAnsi(samples.string()) + u"\\KEL \u65E5 Install";
  const std::filesystem::path root(wide(home));
  std::filesystem::create_directories(root / "eclipse" / "jre" / "bin");
  std::filesystem::copy_file(test::javaStandinExe(), root / "eclipse" / "jre" / "bin" / "java.exe");
  std::filesystem::copy_file(test::keltoolExe(), root / "keltool.exe");
  const std::u16string workspace = text::fromAnsi(ws_) + u"\\WS \u65E5";
  std::filesystem::create_directories(std::filesystem::path(wide(workspace)) / ".metadata");
  const std::string java = shortFormOf(home) + "\\eclipse\\jre\\bin\\java";
  const std::string shortWorkspace = shortFormOf(workspace);
  const auto kelpassOn = [&](const std::u16string& path) {
    return test::runProgram(inQuotes(test::kelpassExe()) + u" -e \"" + path + u"\" -u x");
  };

  ASSERT_TRUE(::SetEnvironmentVariableW(L"KELHOME", wide(home)));
  for (const std::u16string& path : {text::fromAnsi(ws_), workspace}) {
    const std::string passedOn = path == workspace ? shortWorkspace : ws_;
    EXPECT_EQ(kelpassOn(path).exitCode, 0u);
    ASSERT_TRUE(install_.record());
    EXPECT_EQ(install_.record()->arguments[0], java);
    EXPECT_EQ(install_.record()->arguments.at(9), passedOn) << "the workspace after -data";
    const test::HeldFile held(passedOn + "\\.metadata\\.lock");
    EXPECT_EQ(kelpassOn(path).exitCode, 0u);
    ASSERT_TRUE(install_.record());
    EXPECT_EQ(install_.record()->arguments,
              (Args{java, "-jar", shortFormOf(home) + "\\eclipse\\plugins\\com.vum.kel.KELtoolClient\\keltoolClient.jar",
                    "-s", "SetPassword", "-u", "x"}));
  }
  EXPECT_EQ(keltool(u"x").exitCode, 0u);
  ASSERT_TRUE(install_.record());
  EXPECT_EQ(install_.record()->arguments[0], java);
  ::SetEnvironmentVariableA("KELHOME", install_.longPath().c_str());
}

// No short form to fall back on: the directory does not exist.
TEST_F(LauncherText, AKelhomeTheCodePageCannotNameIsRefused) {
  const std::u16string kelhome = u"C:\\KEL " + foreign_;
  ASSERT_TRUE(::SetEnvironmentVariableW(L"KELHOME", reinterpret_cast<const wchar_t*>(kelhome.c_str())));
  const test::ProgramRun pass = kelpass(u"x");
  const test::ProgramRun tool = keltool(u"x");
  ::SetEnvironmentVariableA("KELHOME", install_.longPath().c_str());
  EXPECT_EQ(pass.exitCode, static_cast<DWORD>(-94));
  EXPECT_EQ(pass.output, refusal("Environment variable KELHOME"));
  EXPECT_EQ(tool.exitCode, static_cast<DWORD>(-94));
  EXPECT_EQ(tool.output, refusal("Environment variable KELHOME"));
}

}  // namespace
}  // namespace kel
