// Taking KELHOME's value.
#include <gtest/gtest.h>

#include <string>

#include "kelhome_value.h"

namespace kel {
namespace {

TEST(LauncherKelhomeValue, QuotesAroundTheWholeValueGoAndAnyOtherQuoteIsRefused) {
  EXPECT_EQ(installDirFromKelhome("\"C:\\KEL 1\""), "C:\\KEL 1");
  EXPECT_EQ(installDirFromKelhome("C:\\KEL"), "C:\\KEL");
  EXPECT_EQ(installDirFromKelhome("\"\""), "");
  for (const char* value : {"C:\\t\\\"home\"", "\"C:\\KEL", "C:\\KEL\"", "\"", "\"\"C:\\KEL\"\""}) {
    EXPECT_EQ(installDirFromKelhome(value), std::nullopt) << value;
  }
}

}  // namespace
}  // namespace kel
