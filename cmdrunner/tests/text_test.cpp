// Text beyond ASCII through getSTDOUT, in the ANSI code page the test runs
// under (registered under LC_ALL=C.UTF-8 for 1252 and ru_RU.UTF-8 for 1251).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "code_page_words.h"
#include "kel/text_encoding.h"
#include "tesmaru_call.h"

namespace {

using kel::test::child;
using kel::test::cycle;
using kel::test::getStdout;
using kel::test::lastLine;
using kel::test::systemText;

std::string hexOf(const std::string& text) {
  std::string hex;
  for (const unsigned char byte : text) {
    hex += "0123456789ABCDEF"[byte >> 4];
    hex += "0123456789ABCDEF"[byte & 15];
  }
  return hex;
}

const kel::test::CodePageWords words = kel::test::wordsOfThisCodePage();
// U+65E5, U+1F600 (two surrogates) and the fullwidth quote U+FF02, which a
// code page would turn into a real quote, in modified UTF-8.
const std::string beyondTheCodePage = "\xE6\x97\xA5\xED\xA0\xBD\xED\xB8\x80\xEF\xBC\x82";

TEST(TesmaruText, EveryCharacterReachesItsProgramExactly) {
  for (const std::string& text : {words.java, words.foreign, beyondTheCodePage}) {
    const std::string line = child() + " hexcmdline " + text;
    EXPECT_EQ(getStdout(line), hexOf(line) + lastLine(0));
  }
}

TEST(TesmaruText, AProgramInAFolderNamedBeyondTheCodePageRuns) {
  wchar_t temp[MAX_PATH];
  ASSERT_GT(::GetTempPathW(MAX_PATH, temp), 0u);
  const std::u16string folder =
      reinterpret_cast<const char16_t*>(temp) + kel::text::decodeModifiedUtf8("Tesmaru " + beyondTheCodePage).value();
  const std::u16string program = folder + u"\\runner_child.exe";
  const auto wide = [](const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); };
  ::CreateDirectoryW(wide(folder), nullptr);
  const std::u16string source = kel::text::decodeModifiedUtf8(kel::test::windowsPath(RUNNER_CHILD)).value();
  ASSERT_TRUE(::CopyFileW(wide(source), wide(program), FALSE));
  EXPECT_EQ(getStdout("\"" + kel::text::encodeModifiedUtf8(program) + "\" print ran"), "ran" + lastLine(0));
  ::DeleteFileW(wide(program));
  ::RemoveDirectoryW(wide(folder));
}

TEST(TesmaruText, OutputComesBackAsItsCharacters) {
  // In the code page (not UTF-8), as older tools write.
  EXPECT_EQ(getStdout(child() + " bytes " + hexOf(words.ansi) + "80"), words.java + words.byte80 + lastLine(0));
  // UTF-8, as modern tools write, with a character above U+FFFF.
  EXPECT_EQ(getStdout(child() + " bytes 4AC3BC72 & " + child() + " bytes E697A5F09F9880EFBC82"),
            "J\xC3\xBCr" + beyondTheCodePage + lastLine(0));
  // The limit cuts the euro sign after its first byte: it goes whole, the code is still 96.
  EXPECT_EQ(getStdout(child() + " out 65535 bytes E282AC"), cycle(65535) + lastLine(96));
}

TEST(TesmaruText, ACommandLineHoldingU0000RunsNothing) {
  char directory[MAX_PATH];
  ASSERT_GT(::GetTempPathA(MAX_PATH, directory), 0u);
  const std::string marker = std::string(directory) + "tesmaru_text_marker.txt";
  ::DeleteFileA(marker.c_str());
  EXPECT_EQ(getStdout(child() + " touch " + marker + " & " + child() + " print a\xC0\x80" "b"),
            systemText(ERROR_NO_UNICODE_TRANSLATION) + lastLine(97));
  EXPECT_EQ(::GetFileAttributesA(marker.c_str()), INVALID_FILE_ATTRIBUTES) << "a command ran";
}

}  // namespace
