// What the user types in and out of the ANSI code page, through both
// launchers started with a Unicode command line as Windows starts them.
// Registered under LC_ALL=C.UTF-8 (code page 1252) and ru_RU.UTF-8 (1251).
#include <gtest/gtest.h>

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
