// Taking KELHOME's value.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "kelhome_value.h"

namespace kel {
namespace {

TEST(LauncherKelhomeValue, QuotesAroundTheWholeValueAndSlashesGoAndAnyOtherQuoteIsRefused) {
  using namespace std::string_view_literals;
  EXPECT_EQ(installDirFromKelhome("\"C:\\KEL 1\""sv), "C:\\KEL 1");
  EXPECT_EQ(installDirFromKelhome("C:\\KEL"sv), "C:\\KEL");
  EXPECT_EQ(installDirFromKelhome("\"\""sv), "");
  // As users and scripts write it; Windows' cmd.exe would end a program name at a slash.
  EXPECT_EQ(installDirFromKelhome("\"C:/KEL/x y\""sv), "C:\\KEL\\x y");
  for (const std::string_view value : {"C:\\t\\\"home\"", "\"C:\\KEL", "C:\\KEL\"", "\"", "\"\"C:\\KEL\"\""}) {
    EXPECT_EQ(installDirFromKelhome(value), std::nullopt) << value;
  }
}

}  // namespace
}  // namespace kel
