// The encodings at the Java boundary, against forms worked out by hand.
#include "kel/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using kel::text::cutUtf8Tail;
using kel::text::decodeModifiedUtf8;
using kel::text::encodeModifiedUtf8;
using kel::text::utf8ToModifiedUtf8;

const std::string grinningUtf8 = "\xF0\x9F\x98\x80";             // U+1F600
const std::string grinningModified = "\xED\xA0\xBD\xED\xB8\x80";  // its surrogates D83D DE00

TEST(TextEncoding, ModifiedUtf8HasNoZeroByteAndNoFourByteForm) {
  EXPECT_EQ(encodeModifiedUtf8(std::u16string(u"a\0\u00E9\u20AC\U0001F600", 6)),
            "a\xC0\x80\xC3\xA9\xE2\x82\xAC" + grinningModified);
  EXPECT_EQ(decodeModifiedUtf8("a\xC0\x80\xC3\xA9\xE2\x82\xAC" + grinningModified),
            std::u16string(u"a\0\u00E9\u20AC\U0001F600", 6));
  // A lone surrogate is a Java string too.
  EXPECT_EQ(decodeModifiedUtf8("\xED\xB8\x80"), std::u16string(1, char16_t{0xDE00}));
  for (const std::string& broken : {std::string("a\x80" "b"), grinningUtf8, std::string("\xC1\x81"),
                                    std::string("\xE0\x80\x80"), std::string("\xC3"), std::string("\xE2\x82"),
                                    std::string("a\0b", 3)}) {
    EXPECT_EQ(decodeModifiedUtf8(broken), std::nullopt) << testing::PrintToString(broken);
  }
}

TEST(TextEncoding, Utf8BecomesModifiedUtf8OnlyWhenItIsUtf8) {
  EXPECT_EQ(utf8ToModifiedUtf8("J\xC3\xBCrgen " + grinningUtf8 + "y"), "J\xC3\xBCrgen " + grinningModified + "y");
  EXPECT_EQ(utf8ToModifiedUtf8(std::string("a\0b", 3)), "a\xC0\x80" "b");
  // cp1252 text, a cut character, a surrogate, past U+10FFFF, an overlong slash.
  for (const char* notUtf8 : {"\x80", "J\xFCrgen", "\xC3", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xC0\xAF"}) {
    EXPECT_EQ(utf8ToModifiedUtf8(notUtf8), std::nullopt) << testing::PrintToString(std::string(notUtf8));
  }
}

TEST(TextEncoding, OnlyAnUnfinishedCharacterAtTheEndCountsAsCut) {
  EXPECT_EQ(cutUtf8Tail("ab"), 0u);
  EXPECT_EQ(cutUtf8Tail(""), 0u);
  EXPECT_EQ(cutUtf8Tail("a\xC3"), 1u);
  EXPECT_EQ(cutUtf8Tail("a\xE2\x82"), 2u);
  EXPECT_EQ(cutUtf8Tail("a" + grinningUtf8.substr(0, 3)), 3u);
  EXPECT_EQ(cutUtf8Tail("a\xE2\x82\xAC"), 0u);
  EXPECT_EQ(cutUtf8Tail(grinningUtf8), 0u);
  // Not the start of any character: cp1252 bytes, a surrogate, an overlong form.
  EXPECT_EQ(cutUtf8Tail("a\x80"), 0u);
  EXPECT_EQ(cutUtf8Tail("J\xFC"), 0u);
  EXPECT_EQ(cutUtf8Tail("\xED\xA0"), 0u);
  EXPECT_EQ(cutUtf8Tail("\xE0\x80"), 0u);
}

}  // namespace
