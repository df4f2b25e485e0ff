// When paths made from the install directory are quoted.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "install_path.h"

namespace kel {
namespace {

TEST(LauncherInstallPath, QuotedOnlyWhenTheInstallDirHoldsWhatWouldSplitIt) {
  EXPECT_EQ(installPath("C:\\PROGRA~1\\KEL-1.2_x~!", "\\keltool"), "C:\\PROGRA~1\\KEL-1.2_x~!\\keltool");
  EXPECT_EQ(installPath("", "\\keltool"), "\\keltool");
  for (const char c : std::string_view(" \t;,=()&|<>^%\v\f\xFF")) {
    const std::string dir = std::string("C:\\K") + c + "T";
    EXPECT_EQ(installPath(dir, "\\keltool"), "\"" + dir + "\\keltool\"") << static_cast<int>(c);
  }
}

}  // namespace
}  // namespace kel
