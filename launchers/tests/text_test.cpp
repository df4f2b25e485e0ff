// What the user types in and out of the ANSI code page, through both
// launchers started with a Unicode command line as Windows starts them.
// Registered under LC_ALL=C.UTF-8 (code page 1252) and ru_RU.UTF-8 (1251).
#include <gtest/gtest.h>

#include "kel/code_page.h"
#include "launcher_test_support.h"

namespace kel {
namespace {

using Args = std::vector<std::string>;

struct Words {
  std::u16string own;    // a password the code page holds
  std::string ownAnsi;   // the same in the code page
  std::u16string foreign;  // one it lacks
};

Words wordsOfThisCodePage() {
  switch (::GetACP()) {
    case 1252:
      return {u"p\u00E4ssw\u00F6rd\u20AC", "p\xE4ssw\xF6rd\x80", u"\u043F\u0430\u0440\u043E\u043B\u044C"};
    case 1251:
      return {u"\u043F\u0430\u0440\u043E\u043B\u044C", "\xEF\xE0\xF0\xEE\xEB\xFC", u"p\u00E4ssw\u00F6rd"};
    default:
      ADD_FAILURE() << "run under LC_ALL=C.UTF-8 (1252) or ru_RU.UTF-8 (1251), not code page " << ::GetACP();
      return {};
  }
}

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

  Words words_ = wordsOfThisCodePage();
  test::SampleInstall install_;
  test::TempDirectory workspace_{"KEL Text Workspace "};
  std::string ws_ = workspace_.path();
};

TEST_F(LauncherText, APasswordTheCodePageHoldsPassesUnchangedAndAnyOtherIsRefused) {
  // U+FF02 and U+FF1A would otherwise reach the programs as " and :.
  for (const std::u16string& password : {words_.foreign, std::u16string(u"a\uFF02 -s x"), std::u16string(u"C\uFF1A")}) {
    const test::ProgramRun freeRoad = kelpass(password);
    EXPECT_EQ(freeRoad.exitCode, static_cast<DWORD>(-94));
    EXPECT_EQ(freeRoad.output, refusal("An argument"));
    const test::ProgramRun client = keltool(password);
    EXPECT_EQ(client.exitCode, static_cast<DWORD>(-94));
    EXPECT_EQ(client.output, refusal("An argument"));
  }
  EXPECT_FALSE(install_.record()) << "nothing was to be started";

  EXPECT_EQ(kelpass(words_.own).exitCode, 0u);
  ASSERT_TRUE(install_.record());
  EXPECT_EQ(install_.record()->arguments.back(), words_.ownAnsi);
  {
    const test::HeldFile held(ws_ + "\\.metadata\\.lock");
    EXPECT_EQ(kelpass(words_.own).exitCode, 0u);
    ASSERT_TRUE(install_.record());
    EXPECT_EQ(install_.record()->arguments,
              (Args{install_.shortPath() + "\\eclipse\\jre\\bin\\java", "-jar",
                    install_.shortPath() + "\\eclipse\\plugins\\com.vum.kel.KELtoolClient\\keltoolClient.jar", "-s",
                    "SetPassword", "-u", "x", "-p", words_.ownAnsi}));
  }
  EXPECT_EQ(keltool(words_.own).exitCode, 0u);
  ASSERT_TRUE(install_.record());
  EXPECT_EQ(install_.record()->arguments.back(), words_.ownAnsi);
}

TEST_F(LauncherText, AKelhomeTheCodePageCannotNameIsRefused) {
  const std::u16string kelhome = u"C:\\KEL " + words_.foreign;
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
