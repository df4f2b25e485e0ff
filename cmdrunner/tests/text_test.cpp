// Non-ASCII text through getSTDOUT, in the ANSI code page the test runs under
// (registered under LC_ALL=C.UTF-8 for 1252 and ru_RU.UTF-8 for 1251).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "code_page_words.h"
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

TEST(TesmaruText, ACommandReachesItsProgramInTheCodePage) {
  EXPECT_EQ(getStdout(child() + " hexcmdline " + words.java),
            hexOf(child() + " hexcmdline " + words.ansi) + lastLine(0));
}

TEST(TesmaruText, OutputComesBackAsItsCharacters) {
  // In the code page (not UTF-8), as older tools write.
  EXPECT_EQ(getStdout(child() + " bytes " + hexOf(words.ansi) + "80"), words.java + words.byte80 + lastLine(0));
  // UTF-8, as modern tools write, with a character above U+FFFF.
  EXPECT_EQ(getStdout(child() + " bytes 4AC3BC72 & " + child() + " bytes F09F988079"),
            "J\xC3\xBCr\xED\xA0\xBD\xED\xB8\x80y" + lastLine(0));
  // The limit cuts the euro sign after its first byte: it goes whole, the code is still 96.
  EXPECT_EQ(getStdout(child() + " out 65535 bytes E282AC"), cycle(65535) + lastLine(96));
}

TEST(TesmaruText, ACommandLineWithACharacterTheCodePageLacksRunsNothing) {
  char directory[MAX_PATH];
  ASSERT_GT(::GetTempPathA(MAX_PATH, directory), 0u);
  const std::string marker = std::string(directory) + "tesmaru_text_marker.txt";
  ::DeleteFileA(marker.c_str());
  // U+FF02 and U+FF1A would otherwise run as a look-alike " and :; U+0000 would end the text.
  for (const std::string& text : {words.foreign, std::string("\xEF\xBC\x82x\xEF\xBC\x82"), std::string("C\xEF\xBC\x9A"),
                                  std::string("a\xC0\x80" "b")}) {
    EXPECT_EQ(getStdout(child() + " touch " + marker + " & " + child() + " print " + text),
              systemText(ERROR_NO_UNICODE_TRANSLATION) + lastLine(97));
  }
  EXPECT_EQ(::GetFileAttributesA(marker.c_str()), INVALID_FILE_ATTRIBUTES) << "a command ran";
}

}  // namespace
