// When paths made from the install directory are quoted.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "install_path.h"

namespace kel {
namespace {

TEST(LauncherInstallPath, QuotedOnlyWhenTheInstallDirHoldsWhatWouldSplitIt) {
  EXPECT_EQ(installPath(u"C:\\PROGRA~1\\KEL-1.2_x~!", u"\\keltool"), u"C:\\PROGRA~1\\KEL-1.2_x~!\\keltool");
  EXPECT_EQ(installPath(u"", u"\\keltool"), u"\\keltool");
  for (const char16_t c : std::u16string_view(u" \t;,=()&|<>^%\v\f\u00FF\u00A0")) {
    const std::u16string dir = u"C:\\K" + std::u16string(1, c) + u"T";
    EXPECT_EQ(installPath(dir, u"\\keltool"), u"\"" + dir + u"\\keltool\"") << static_cast<int>(c);
  }
}

}  // namespace
}  // namespace kel
