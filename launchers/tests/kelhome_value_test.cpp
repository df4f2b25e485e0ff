// Taking KELHOME's value.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "kelhome_value.h"

namespace kel {
namespace {

TEST(LauncherKelhomeValue, QuotesAroundTheWholeValueGoAndAnyOtherQuoteIsRefused) {
  using namespace std::string_view_literals;
  EXPECT_EQ(installDirFromKelhome("\"C:\\KEL 1\""sv), "C:\\KEL 1");
  EXPECT_EQ(installDirFromKelhome("C:\\KEL"sv), "C:\\KEL");
  EXPECT_EQ(installDirFromKelhome("\"\""sv), "");
  for (const std::string_view value : {"C:\\t\\\"home\"", "\"C:\\KEL", "C:\\KEL\"", "\"", "\"\"C:\\KEL\"\""}) {
    EXPECT_EQ(installDirFromKelhome(value), std::nullopt) << value;
  }
}

}  // namespace
}  // namespace kel
