// What the user types in and out of the ANSI code page, through both
// launchers started with a Unicode command line as Windows starts them.
// Registered under LC_ALL=de_DE.UTF-8 (code page 1252), ru_RU.UTF-8 (1251),
// ja_JP.UTF-8 (932), zh_CN.UTF-8 (936) and zh_TW.UTF-8 (950).
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

std::u16string inQuotes(const std::string& path) { return u"\"" + test::wideOf(path) + u"\""; }

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

struct Words {
  std::u16string own;      // a word the code page holds
  std::string ansi;        // the same word in the code page
  std::u16string foreign;  // a word the code page lacks
  bool doubleByte = false;
};

// In the double-byte code pages a word of three characters whose second
// bytes are ^ | and \ (the last, so that it can end a path), which a scan of
// bytes would take for cmd.exe's and the C runtime's own.
Words launcherWords() {
  const std::u16string thai = u"\u0E44\u0E17\u0E22";
  switch (::GetACP()) {
    case 932:
      return {u"\u4E0E\u5012\u4E88", "\x97\x5E\x93\x7C\x97\x5C", thai, true};
    case 936:
      return {u"\u5340\u5104\u4E57", "\x85\x5E\x83\x7C\x81\x5C", thai, true};
    case 950:
      return {u"\u4E5E\u56DB\u4E48", "\xA4\x5E\xA5\x7C\xA4\x5C", thai, true};
    default: {
      const test::CodePageWords words = test::wordsOfThisCodePage();
      return {typed(words.java), words.ansi, typed(words.foreign), false};
    }
  }
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

  Words words_ = launcherWords();
  std::u16string own_ = words_.own;
  std::u16string foreign_ = words_.foreign;
  test::SampleInstall install_;
  test::TempDirectory workspace_{"KEL Text Workspace "};
  std::string ws_ = workspace_.path();
};

TEST_F(LauncherText, APasswordTheCodePageHoldsPassesUnchangedAndAnyOtherIsRefused) {
  // U+FF02 and U+FF1A would otherwise reach the programs as " and : (the
  // double-byte code pages hold them as they are).
  std::vector<std::u16string> refused = {foreign_};
  if (!words_.doubleByte) refused.insert(refused.end(), {u"a\uFF02 -s x", u"C\uFF1A"});
  for (const std::u16string& password : refused) {
    const test::ProgramRun freeRoad = kelpass(password);
    EXPECT_EQ(freeRoad.exitCode, static_cast<DWORD>(-94));
    EXPECT_EQ(freeRoad.output, refusal("An argument"));
    const test::ProgramRun client = keltool(password);
    EXPECT_EQ(client.exitCode, static_cast<DWORD>(-94));
    EXPECT_EQ(client.output, refusal("An argument"));
  }
  EXPECT_FALSE(install_.record()) << "nothing was to be started";

  // The word alone and next to operators, quotes, backslashes and %, as typed
  // for the launchers' C runtime; a password with a space arrives as words.
  const std::u16string& w = own_;
  const std::string& a = words_.ansi;
  const std::u16string passwords = w + u" \"" + w + u"&echo INJECTED\" " + w + u"\\\"x \"" + w + u"|" + w + u"^" + w +
                                   u"\" " + w + u"\\ \"%" + w + u"%\" \"(" + w + u")\"";
  const Args arrived = {"-p", a, a + "&echo", "INJECTED", a + "\"x", a + "|" + a + "^" + a, a + "\\", "%" + a + "%",
                        "(" + a + ")"};
  const auto arrivedLast = [&](const test::ProgramRun& run, const char* program) {
    const auto record = install_.record();
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    ASSERT_TRUE(record) << run.output;
    EXPECT_EQ(record->program, program);
    ASSERT_GE(record->arguments.size(), arrived.size());
    EXPECT_EQ(Args(record->arguments.end() - arrived.size(), record->arguments.end()), arrived);
  };
  arrivedLast(kelpass(passwords), "org.eclipse.core.launcher.Main");
  {
    const test::HeldFile held(ws_ + "\\.metadata\\.lock");
    arrivedLast(kelpass(passwords), "keltoolClient.jar");
  }
  arrivedLast(keltool(passwords), "keltoolClient.jar");
}

// cmd.exe counts characters: 4,300 pass, though they are 8,600 bytes in a
// double-byte code page.
TEST_F(LauncherText, ALongArgumentIsMeasuredInCharacters) {
  std::u16string longWord;
  std::string longAnsi;
  while (longWord.size() < 4300) {
    longWord += own_;
    longAnsi += words_.ansi;
  }
  const test::ProgramRun run = keltool(longWord);
  EXPECT_EQ(run.exitCode, 0u) << run.output.substr(0, 300);
  EXPECT_TRUE(install_.record() == test::toolClient({"-p", longAnsi})) << "the long argument arrives whole";
}

TEST_F(LauncherText, AnInstallAndAWorkspaceNamedBeyondTheCodePageStartBothLaunchersByTheirShortForms) {
  // A Java runtime cannot start from a folder the code page cannot name (its
  // launcher reads its own path there), so with the real one only the
  // workspace lies beyond it.
  const std::filesystem::path samples = std::filesystem::path(install_.longPath()).parent_path();
  std::u16string home = test::wideOf(install_.longPath());
  if (!test::realJava()) {
    home = test::wideOf(samples.string()) + u"\\KEL " + foreign_ + u" Install";
    test::layOutInstall(std::filesystem::path(wide(home)));
  }
  const std::u16string workspace = test::wideOf(ws_) + u"\\WS " + foreign_;
  std::filesystem::create_directories(std::filesystem::path(wide(workspace)) / ".metadata");
  // Ends in a character whose second byte is \ in a double-byte code page.
  const std::u16string ownWorkspace = test::wideOf(ws_) + u"\\" + own_;
  std::filesystem::create_directories(std::filesystem::path(wide(ownWorkspace)) / ".metadata");
  const std::string shortWorkspace = shortFormOf(workspace);
  const auto kelpassOn = [&](const std::u16string& path) {
    return test::runProgram(inQuotes(test::kelpassExe()) + u" -e \"" + path + u"\" -u x");
  };

  ASSERT_TRUE(::SetEnvironmentVariableW(L"KELHOME", wide(home)));
  for (const std::u16string& path : {test::wideOf(ws_), ownWorkspace, workspace}) {
    const std::string passedOn = path == workspace ? shortWorkspace : text::toAnsi(path).value();
    const test::ProgramRun free = kelpassOn(path);
    EXPECT_EQ(free.exitCode, 0u) << free.output;
    EXPECT_EQ(install_.record(), test::passwordApplication(passedOn, {"-u", "x"})) << free.output;
    const test::HeldFile held(passedOn + "\\.metadata\\.lock");
    const test::ProgramRun locked = kelpassOn(path);
    EXPECT_EQ(locked.exitCode, 0u) << locked.output;
    EXPECT_EQ(install_.record(), test::toolClient({"-s", "SetPassword", "-u", "x"})) << locked.output;
  }
  EXPECT_EQ(keltool(u"x").exitCode, 0u);
  EXPECT_EQ(install_.record(), test::toolClient({"-p", "x"}));
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
