// Collecting output, turning it into text and building the result text.
#include "captured_text.h"
#include "output_accumulator.h"
#include "result_text.h"

#include <gtest/gtest.h>

#include <string>

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

// Latin-1 stands in for the ANSI code page; a cut end is marked with '~'.
std::u16string latin1(std::string_view text, bool cutAtEnd) {
  std::u16string units(text.begin(), text.end());
  for (char16_t& unit : units) unit &= 0xFF;
  if (cutAtEnd) units += u'~';
  return units;
}

TEST(CapturedText, IsUtf8WhenAllOfItIsAndTheCodePagesOtherwise) {
  EXPECT_EQ(capturedText("plain\r\n", false, latin1), "plain\r\n");
  EXPECT_EQ(capturedText("J\xC3\xBCrgen \xF0\x9F\x98\x80", false, latin1), "J\xC3\xBCrgen \xED\xA0\xBD\xED\xB8\x80");
  EXPECT_EQ(capturedText("J\xFCrgen \x80", false, latin1), "J\xC3\xBCrgen \xC2\x80");
  // One byte that is no UTF-8 makes all of it the code page's.
  EXPECT_EQ(capturedText("\xC3\xBC \xFC", false, latin1), "\xC3\x83\xC2\xBC \xC3\xBC");
  // A character the limit cut in two is dropped whole; uncut, those bytes are no UTF-8.
  EXPECT_EQ(capturedText("a\xE2\x82", true, latin1), "a");
  EXPECT_EQ(capturedText("a\xE2\x82", false, latin1), "a\xC3\xA2\xC2\x82");
  EXPECT_EQ(capturedText("a\xFC", true, latin1), "a\xC3\xBC~");
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

TEST(FormatResult, CutOutputWinsOverEverything) {
  const std::string captured(limit, 'a');
  EXPECT_EQ(formatResult(captured, true, 97, "text"), captured + "\nThe highest return code is 96");
  EXPECT_EQ(formatResult(captured, true, 0, std::nullopt), captured + "\nThe highest return code is 96");
}

TEST(FormatResult, TheSystemTextFollowsAFullOutputInFull) {
  const std::string captured(limit, 'a');
  const std::string text(300, 't');
  EXPECT_EQ(formatResult(captured, false, 97, text), captured + text + "\nThe highest return code is 97");
}

}  // namespace
