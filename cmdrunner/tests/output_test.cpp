// Collecting output and building the result text.
#include "output_accumulator.h"
#include "result_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

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
