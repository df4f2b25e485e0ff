// A provider's texts read only where they lie in the buffer it was given;
// under the sanitizers, the check itself never reads past the buffer.
#include "answer_check.h"

#include <gtest/gtest.h>

#include <cstring>

namespace orvandel {
namespace {

TEST(OrvandelAnswerCheck, ATextIsReadOnlyInsideItsBuffer) {
  alignas(char16_t) char buffer[16] = {};
  const char16_t name[] = u"F:";
  std::memcpy(buffer + 4, name, sizeof name);  // F: and its terminator at bytes 4 to 9
  const auto at = [&](int offset) { return static_cast<const void*>(buffer + offset); };

  EXPECT_EQ(textIn(buffer, sizeof buffer, at(4)), u"F:");
  EXPECT_TRUE(textLiesIn(buffer, sizeof buffer, at(4)));
  EXPECT_TRUE(textLiesIn(buffer, sizeof buffer, nullptr)) << "an absent field";
  const char16_t outside[] = u"F:";
  EXPECT_EQ(textIn(buffer, sizeof buffer, outside), std::nullopt);
  EXPECT_EQ(textIn(buffer, sizeof buffer, at(sizeof buffer)), std::nullopt);
  EXPECT_EQ(textIn(buffer, sizeof buffer, at(5)), std::nullopt) << "misaligned";

  // A text that runs to the buffer's end: read up to there, but it does not lie in it.
  std::memset(buffer + 10, 'z', 6);
  EXPECT_EQ(textIn(buffer, sizeof buffer, at(10)), u"\u7A7A\u7A7A\u7A7A");
  EXPECT_FALSE(textLiesIn(buffer, sizeof buffer, at(10)));
  EXPECT_FALSE(textLiesIn(buffer, 9, at(4))) << "its terminator across the buffer's end";
  EXPECT_TRUE(textLiesIn(buffer, 10, at(4))) << "its terminator the buffer's last unit";
}

}  // namespace
}  // namespace orvandel
