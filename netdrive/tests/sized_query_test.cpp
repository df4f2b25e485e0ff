#include "sized_query.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace orvandel {
namespace {

// A platform that holds one name and answers like the WNet name functions.
struct NamePlatform {
  std::string name;
  std::vector<std::uint32_t> sizesAsked;

  std::uint32_t operator()(char* buffer, std::uint32_t* size) {
    sizesAsked.push_back(*size);
    if (*size < name.size() + 1) {
      *size = static_cast<std::uint32_t>(name.size() + 1);
      return errorMoreData;
    }
    std::memcpy(buffer, name.c_str(), name.size() + 1);
    return noError;
  }
};

TEST(OrvandelSizedQuery, ANameThatFitsTakesOneCall) {
  NamePlatform platform{std::string(79, 'n'), {}};
  std::vector<char> buffer;
  ASSERT_EQ(querySized(buffer, 80, platform), noError);
  EXPECT_EQ(terminatedText(buffer.data(), buffer.size()), platform.name);
  EXPECT_EQ(platform.sizesAsked, (std::vector<std::uint32_t>{80}));
}

TEST(OrvandelSizedQuery, ALongerNameIsAskedForOnceMoreWithTheSizeNamed) {
  NamePlatform platform{std::string(200, 'n'), {}};
  std::vector<char> buffer;
  ASSERT_EQ(querySized(buffer, 80, platform), noError);
  EXPECT_EQ(terminatedText(buffer.data(), buffer.size()), platform.name);
  EXPECT_EQ(platform.sizesAsked, (std::vector<std::uint32_t>{80, 201}));
}

TEST(OrvandelSizedQuery, OnlyOneRetryAndOnlyForMoreRoom) {
  std::vector<char> buffer;
  int calls = 0;
  auto greedy = [&](char*, std::uint32_t* size) {
    ++calls;
    *size += 100;
    return errorMoreData;
  };
  EXPECT_EQ(querySized(buffer, 80, greedy), errorMoreData);
  EXPECT_EQ(calls, 2);

  calls = 0;
  auto noBiggerSize = [&](char*, std::uint32_t*) {
    ++calls;
    return errorMoreData;
  };
  EXPECT_EQ(querySized(buffer, 80, noBiggerSize), errorMoreData);
  EXPECT_EQ(calls, 1);

  calls = 0;
  auto failing = [&](char*, std::uint32_t*) {
    ++calls;
    return std::uint32_t{2250};
  };
  EXPECT_EQ(querySized(buffer, 80, failing), 2250u);
  EXPECT_EQ(calls, 1);
}

TEST(OrvandelSizedQuery, TextWithoutTerminatorStopsAtTheBufferEnd) {
  const char bytes[] = {'a', 'b', 'c'};
  EXPECT_EQ(terminatedText(bytes, sizeof bytes), "abc");
  EXPECT_EQ(terminatedText("ab\0cd", 5), "ab");
}

}  // namespace
}  // namespace orvandel
