// What getSTDOUT answers: output, codes, splitting, failures and the cut.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tesmaru_call.h"

namespace {

using kel::test::child;
using kel::test::cycle;
using kel::test::getStdout;
using kel::test::lastLine;
using kel::test::systemText;

constexpr std::size_t LIMIT = 65536;
const std::string missing = "no_such_program_for_tesmaru.exe";

TEST(Results, OutputAndErrorOfACommandFollowedByItsCode) {
  EXPECT_EQ(getStdout(child() + " print hello err +err print !"), "hello+err!" + lastLine(0));
  EXPECT_EQ(getStdout(child()), lastLine(0));
}

TEST(Results, ExitCodesComeOutSigned) {
  EXPECT_EQ(getStdout(child() + " exit 5"), lastLine(5));
  EXPECT_EQ(getStdout(child() + " exit -1"), lastLine(-1));
  EXPECT_EQ(getStdout(child() + " exit 0xFFFFFFFF"), lastLine(-1));
  EXPECT_EQ(getStdout(child() + " exit 0x80000000"), lastLine(-2147483647 - 1));
  // A child's own 96 or 97 is shown as it is, without any system text.
  EXPECT_EQ(getStdout(child() + " print x exit 97"), "x" + lastLine(97));
}

TEST(Results, FirstNonzeroCodeStopsTheSequence) {
  EXPECT_EQ(getStdout(child() + " print a & " + child() + " print b exit 1 & " + child() + " print c"),
            "ab" + lastLine(1));
  // The code is the last one, not the highest.
  EXPECT_EQ(getStdout(child() + " exit 0 & " + child() + " exit -1"), lastLine(-1));
}

TEST(Results, MissingProgramGivesTheSystemTextAnd97) {
  const std::string text = systemText(ERROR_FILE_NOT_FOUND);
  ASSERT_FALSE(text.empty());
  EXPECT_EQ(getStdout(missing), text + lastLine(97));
  EXPECT_EQ(getStdout(missing + " & " + child() + " print never"), text + lastLine(97));
  EXPECT_EQ(getStdout(child() + " print before & " + missing), "before" + text + lastLine(97));
  // Built into the command interpreter, so no program of its own.
  EXPECT_EQ(getStdout("echo hello"), text + lastLine(97));
}

// The splitting itself is the host's to test; here each piece reaches its
// program exactly, and a piece whose first word is empty names none.
TEST(Splitting, CommandTextIsThePieceExactly) {
  const std::string c = child();
  EXPECT_EQ(getStdout(" && " + c + " cmdline &&& & " + c + " cmdline\t& &"),
            "[" + c + " cmdline ][" + c + " cmdline\t]" + lastLine(0));
  EXPECT_EQ(getStdout(c + " cmdline & \t & " + c + " print never"),
            "[" + c + " cmdline ]" + systemText(ERROR_FILE_NOT_FOUND) + lastLine(97));
  EXPECT_EQ(getStdout(" & && & "), lastLine(0)) << "no command runs nothing";
}

TEST(Splitting, LongCommandRunsWholeUpToThePlatformsLimit) {
  const std::string start = child() + " cmdlen ";
  const std::string longest = start + std::string(32766 - start.size(), 'x');
  EXPECT_EQ(getStdout(longest), "cmdlen:32766" + lastLine(0));
  const std::string refused = systemText(ERROR_FILENAME_EXCED_RANGE) + lastLine(97);
  EXPECT_EQ(getStdout(longest + "x"), refused);
  EXPECT_EQ(getStdout(child() + " print before & " + start + std::string(70000, 'x')), "before" + refused);
}

TEST(OutputLimit, ExactlyTheLimitIsKeptWhole) {
  EXPECT_EQ(getStdout(child() + " out 65536 exit 3"), cycle(LIMIT) + lastLine(3));
  EXPECT_EQ(getStdout(child() + " out 30000 & " + child() + " out 35536"),
            cycle(30000) + cycle(35536) + lastLine(0));
}

TEST(OutputLimit, OneMoreCharacterIsCutWith96) {
  EXPECT_EQ(getStdout(child() + " out 65537"), cycle(LIMIT) + lastLine(96));
  EXPECT_EQ(getStdout(child() + " out 65537 exit 4"), cycle(LIMIT) + lastLine(96));
}

// After a full output and after a cut one alike: a failure is told with 97.
TEST(OutputLimit, SystemTextFollowsAFullOutputInFull) {
  for (const char* bytes : {" out 65536 & ", " out 70000 & "}) {
    EXPECT_EQ(getStdout(child() + bytes + missing), cycle(LIMIT) + systemText(ERROR_FILE_NOT_FOUND) + lastLine(97));
  }
}

TEST(OutputLimit, LargeOutputsFinishWithTheRightCut) {
  EXPECT_EQ(getStdout(child() + " out 1000000"), cycle(LIMIT) + lastLine(96));
  EXPECT_EQ(getStdout(child() + " out 10000000 exit 7"), cycle(LIMIT) + lastLine(96));
  const std::string quarter = child() + " out 2500000";
  EXPECT_EQ(getStdout(quarter + " & " + quarter + " & " + quarter + " & " + quarter + " exit 2"),
            cycle(LIMIT) + lastLine(96));
}

TEST(OutputLimit, CommandsAfterTheCutStillRunByTheCodeRuleAlone) {
  char directory[MAX_PATH];
  ASSERT_GT(::GetTempPathA(MAX_PATH, directory), 0u);
  const std::string ran = std::string(directory) + "tesmaru_ran.txt";
  const std::string notRan = std::string(directory) + "tesmaru_not_ran.txt";
  ::DeleteFileA(ran.c_str());
  ::DeleteFileA(notRan.c_str());
  EXPECT_EQ(getStdout(child() + " out 1000000 & " + child() + " out 1000000 touch " + ran + " exit 1 & " + child() +
                      " touch " + notRan),
            cycle(LIMIT) + lastLine(96));
  EXPECT_NE(::GetFileAttributesA(ran.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(::GetFileAttributesA(notRan.c_str()), INVALID_FILE_ATTRIBUTES);
  ::DeleteFileA(ran.c_str());
}

TEST(Output, ZeroBytesDropOnlyThemselves) {
  EXPECT_EQ(getStdout(child() + " bytes 610062000063 sleep 50 bytes 00640000 sleep 50 bytes 65"),
            "abcde" + lastLine(0));
  EXPECT_EQ(getStdout(child() + " utf16 Hello & " + child() + " err Z utf16 !"), "HelloZ!" + lastLine(0));
}

}  // namespace
