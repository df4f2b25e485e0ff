// Text beyond ASCII through getSTDOUT, in the code pages the test runs under
// (registered under LC_ALL=de_DE.UTF-8 for ANSI 1252 and OEM 850, and
// ru_RU.UTF-8 for 1251 and 866).
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
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

// A word of the console's (OEM) code page, as modified UTF-8 and as the bytes
// a console program writes for it.
struct ConsoleWord {
  std::string java;
  std::string oem;
};

ConsoleWord consoleWord() {
  switch (::GetOEMCP()) {
    case 437:
    case 850:
      return {"J\xC3\xBCrgen", "J\x81rgen"};
    case 866:
      return {"\xD0\x9E\xD1\x82\xD1\x87\xD1\x91\xD1\x82", "\x8E\xE2\xE7\xF1\xE2"};
    case 932:
      return {"\xE6\x97\xA5\xE6\x9C\xAC", "\x93\xFA\x96\x7B"};
    default:
      ADD_FAILURE() << "no word for the OEM code page " << ::GetOEMCP();
      return {};
  }
}

const ConsoleWord console = consoleWord();
// Привет in UTF-8.
const std::string privet = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";
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
  // Named by the process, as the test runs in several locales at once.
  const std::u16string folder =
      reinterpret_cast<const char16_t*>(temp) +
      kel::text::decodeModifiedUtf8("Tesmaru " + beyondTheCodePage + " " + std::to_string(::GetCurrentProcessId())).value();
  const std::u16string program = folder + u"\\runner_child.exe";
  const auto wide = [](const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); };
  ::CreateDirectoryW(wide(folder), nullptr);
  const std::u16string source = kel::text::decodeModifiedUtf8(kel::test::windowsPath(RUNNER_CHILD)).value();
  ASSERT_TRUE(::CopyFileW(wide(source), wide(program), FALSE));
  EXPECT_EQ(getStdout("\"" + kel::text::encodeModifiedUtf8(program) + "\" print ran"), "ran" + lastLine(0));
  ::DeleteFileW(wide(program));
  ::RemoveDirectoryW(wide(folder));
}

// Each command's output is read as a console window would show it: UTF-8
// when it is, else in the console's (OEM) code page, each on its own.
TEST(TesmaruText, OutputComesBackAsItsCharacters) {
  // cmd.exe's own commands write the console's code page.
  EXPECT_EQ(getStdout("cmd /c echo " + console.java), console.java + "\r\n" + lastLine(0));
  wchar_t temp[MAX_PATH];
  ASSERT_GT(::GetTempPathW(MAX_PATH, temp), 0u);
  const std::string folder =
      kel::text::encodeModifiedUtf8(reinterpret_cast<const char16_t*>(temp)) + "Tesmaru " + console.java + " " +
      std::to_string(::GetCurrentProcessId());
  const std::u16string wideFolder = kel::text::decodeModifiedUtf8(folder).value();
  ::CreateDirectoryW(reinterpret_cast<const wchar_t*>(wideFolder.c_str()), nullptr);
  const std::optional<std::string> listing = getStdout("cmd /c dir \"" + folder + "\"");
  ::RemoveDirectoryW(reinterpret_cast<const wchar_t*>(wideFolder.c_str()));
  ASSERT_TRUE(listing);
  EXPECT_NE(listing->find(folder), std::string::npos) << *listing;
  EXPECT_EQ(listing->substr(listing->size() - lastLine(0).size()), lastLine(0));
  // A program that writes the console's code page, and one that writes UTF-8
  // (a character above U+FFFF included).
  EXPECT_EQ(getStdout(child() + " bytes " + hexOf(console.oem)), console.java + lastLine(0));
  EXPECT_EQ(getStdout(child() + " bytes 4AC3BC72 & " + child() + " bytes E697A5F09F9880EFBC82"),
            "J\xC3\xBCr" + beyondTheCodePage + lastLine(0));
  // A part that is not all UTF-8 is all the console's: its UTF-8 ü too.
  const std::string mixed = "\xC3\xBC" + console.oem;
  wchar_t units[64];
  const int length = ::MultiByteToWideChar(CP_OEMCP, 0, mixed.data(), static_cast<int>(mixed.size()), units, 64);
  EXPECT_EQ(getStdout(child() + " bytes " + hexOf(mixed)),
            kel::text::encodeModifiedUtf8(std::u16string(reinterpret_cast<const char16_t*>(units), length)) + lastLine(0));
  // Two kinds in one call: neither garbles the other. (The blank before a
  // `&` stays in the command, and echo repeats it.)
  EXPECT_EQ(getStdout(child() + " bytes " + hexOf(privet) + " & cmd /c echo " + console.java + " & " + child() +
                      " bytes " + hexOf(console.oem)),
            privet + console.java + " \r\n" + console.java + lastLine(0));
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
