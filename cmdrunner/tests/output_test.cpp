// Collecting output, turning it into text and building the result text.
#include "captured_text.h"
#include "output_accumulator.h"
#include "result_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using kel::cmdrunner::capturedText;
using kel::cmdrunner::formatResult;
using kel::cmdrunner::makeResult;
using kel::cmdrunner::OutputAccumulator;

constexpr std::size_t limit = OutputAccumulator::limit;

void appendAll(OutputAccumulator& output, const std::string& bytes) { output.append(bytes.data(), bytes.size()); }

TEST(OutputAccumulator, DropsEachZeroByteAloneWhateverTheChunking) {
  const std::string bytes("a\0b\0\0c\0", 7);
  for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
    OutputAccumulator output;
    appendAll(output, bytes.substr(0, cut));
    appendAll(output, bytes.substr(cut));
    EXPECT_EQ(output.text(), "abc") << "cut at " << cut;
    EXPECT_FALSE(output.overflowed());
  }
}

TEST(OutputAccumulator, Utf16TextLosesOnlyItsZeroBytes) {
  OutputAccumulator output;
  appendAll(output, std::string("H\0i\0\r\0\n\0", 8));
  EXPECT_EQ(output.text(), "Hi\r\n");
}

TEST(OutputAccumulator, KeepsExactlyTheLimit) {
  OutputAccumulator output;
  appendAll(output, std::string(limit - 1, 'a'));
  appendAll(output, std::string("\0b\0", 3));
  EXPECT_EQ(output.text().size(), limit);
  EXPECT_EQ(output.text().back(), 'b');
  EXPECT_FALSE(output.overflowed());
  appendAll(output, std::string(5, '\0'));
  EXPECT_FALSE(output.overflowed());
}

TEST(OutputAccumulator, CutsAtTheLimitAndKeepsDrainingWithoutGrowing) {
  OutputAccumulator output;
  appendAll(output, std::string(limit - 2, 'a'));
  appendAll(output, "bcd");
  EXPECT_TRUE(output.overflowed());
  EXPECT_EQ(output.text().size(), limit);
  EXPECT_EQ(output.text().substr(limit - 3), "abc");
  const char* storage = output.text().data();
  for (int i = 0; i < 100; ++i) appendAll(output, std::string(100000, 'z'));
  EXPECT_EQ(output.text().data(), storage);
  EXPECT_EQ(output.text().size(), limit);
  EXPECT_EQ(output.text().find('z'), std::string::npos);
}

TEST(OutputAccumulator, KeepsWhereEachCommandsPartStarts) {
  OutputAccumulator output;
  output.beginPart();
  appendAll(output, "ab");
  output.beginPart();
  output.beginPart();  // a command that wrote nothing
  appendAll(output, std::string("\0c", 2));
  output.beginPart();
  EXPECT_EQ(output.partStarts(), (std::vector<std::size_t>{0, 2, 3}));
  // Once the limit is reached the part it cut stays the last.
  appendAll(output, std::string(limit, 'd'));
  output.beginPart();
  appendAll(output, "e");
  EXPECT_EQ(output.partStarts(), (std::vector<std::size_t>{0, 2, 3}));
}

// Latin-1 stands in for the console's code page; a cut end is marked with '~'.
std::u16string latin1(std::string_view text, bool cutAtEnd) {
  std::u16string units(text.begin(), text.end());
  for (char16_t& unit : units) unit &= 0xFF;
  if (cutAtEnd) units += u'~';
  return units;
}

std::string captured(std::string_view text, bool cut = false) { return capturedText(text, {0}, cut, latin1); }

TEST(CapturedText, IsUtf8WhenAllOfAPartIsAndTheCodePagesOtherwise) {
  EXPECT_EQ(captured("plain\r\n"), "plain\r\n");
  EXPECT_EQ(captured("J\xC3\xBCrgen \xF0\x9F\x98\x80"), "J\xC3\xBCrgen \xED\xA0\xBD\xED\xB8\x80");
  EXPECT_EQ(captured("J\xFCrgen \x80"), "J\xC3\xBCrgen \xC2\x80");
  // One byte that is no UTF-8 makes all of its part the code page's.
  EXPECT_EQ(captured("\xC3\xBC \xFC"), "\xC3\x83\xC2\xBC \xC3\xBC");
  // A character the limit cut in two is dropped whole; uncut, those bytes are no UTF-8.
  EXPECT_EQ(captured("a\xE2\x82", true), "a");
  EXPECT_EQ(captured("a\xE2\x82"), "a\xC3\xA2\xC2\x82");
  EXPECT_EQ(captured("a\xFC", true), "a\xC3\xBC~");
  // Each command's part on its own: UTF-8, then a code page byte, then UTF-8;
  // only the last part can have been cut.
  EXPECT_EQ(capturedText("\xC3\xBC\xE9\xC3\xBC\xE2\x82", {0, 2, 3}, true, latin1), "\xC3\xBC\xC3\xA9\xC3\xBC");
  EXPECT_EQ(capturedText("\xE2\x82\xC3\xBC", {0, 2}, true, latin1), "\xC3\xA2\xC2\x82\xC3\xBC");
}

TEST(FormatResult, AppendsTheLastLineWithTheCode) {
  EXPECT_EQ(formatResult("out\r\n", false, 0, std::nullopt), "out\r\n\nThe highest return code is 0");
  EXPECT_EQ(formatResult("", false, -1, std::nullopt), "\nThe highest return code is -1");
  EXPECT_EQ(formatResult("x", false, 97, std::nullopt), "x\nThe highest return code is 97");
}

TEST(FormatResult, ShowsTheSystemTextOnlyForAFailedCall) {
  const std::optional<std::string> text = "The system cannot find the file specified.\r\n";
  EXPECT_EQ(formatResult("before", false, 97, text),
            "beforeThe system cannot find the file specified.\r\n\nThe highest return code is 97");
  EXPECT_EQ(makeResult(text, 97), *text + "\nThe highest return code is 97");
}

TEST(FormatResult, CutOutputGives96UnlessAPlatformCallFailed) {
  const std::string captured(limit, 'a');
  EXPECT_EQ(formatResult(captured, true, 97, "text"), captured + "text\nThe highest return code is 97");
  EXPECT_EQ(formatResult(captured, true, 0, std::nullopt), captured + "\nThe highest return code is 96");
  EXPECT_EQ(formatResult(captured, true, 97, std::nullopt), captured + "\nThe highest return code is 96");
}

TEST(FormatResult, TheSystemTextFollowsAFullOutputInFull) {
  const std::string captured(limit, 'a');
  const std::string text(300, 't');
  EXPECT_EQ(formatResult(captured, false, 97, text), captured + text + "\nThe highest return code is 97");
}

}  // namespace
