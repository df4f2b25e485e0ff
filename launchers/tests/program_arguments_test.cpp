// The arguments part of a wide command line, which the launchers check
// against the code page (the program's own path is not passed on).
#include "program_arguments.h"

#include <gtest/gtest.h>

namespace kel {
namespace {

TEST(LauncherProgramArguments, TheProgramNameIsSplitOffAsTheCRuntimeSplitsIt) {
  EXPECT_EQ(argumentsOf(u"\"C:\\\u041F\u0430\u043F\u043A\u0430 1\\kelpass.exe\" -p \u00FC"), u"-p \u00FC");
  EXPECT_EQ(argumentsOf(u"kelpass.exe\t \t-e \"C:\\ws\""), u"-e \"C:\\ws\"");
  EXPECT_EQ(argumentsOf(u"C:\\a\"b c\"d\\kelpass.exe x"), u"x");
  EXPECT_EQ(argumentsOf(u"kelpass.exe"), u"");
  EXPECT_EQ(argumentsOf(u"kelpass.exe   "), u"");
}

}  // namespace
}  // namespace kel
