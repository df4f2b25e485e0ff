// Splitting a command line into commands and running them in turn.
#include "command_sequence.h"
#include "command_splitter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using kel::cmdrunner::runSequence;
using kel::cmdrunner::splitCommands;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(SplitCommands, AmpersandIsTheOnlySeparator) {
  EXPECT_THAT(splitCommands("prog a b"), ElementsAre("prog a b"));
  EXPECT_THAT(splitCommands("first x & second y"), ElementsAre("first x ", "second y"));
  EXPECT_THAT(splitCommands("echo \"a&b\""), ElementsAre("echo \"a", "b\""));
  EXPECT_THAT(splitCommands("a|b>c^&d"), ElementsAre("a|b>c^", "d"));
}

TEST(SplitCommands, SkipsBlanksAndAmpersandsBeforeACommandOnly) {
  EXPECT_THAT(splitCommands("  & &&  a  &&& & b &  "), ElementsAre("a  ", "b "));
  EXPECT_THAT(splitCommands("&a&"), ElementsAre("a"));
  EXPECT_THAT(splitCommands("a   "), ElementsAre("a   "));
}

TEST(SplitCommands, TabBelongsToTheCommand) {
  EXPECT_THAT(splitCommands("\ta\t&\tb"), ElementsAre("\ta\t", "\tb"));
  EXPECT_THAT(splitCommands(" \t "), ElementsAre("\t "));
}

TEST(SplitCommands, FindsNoCommandInBlanksAndAmpersands) {
  EXPECT_THAT(splitCommands(""), IsEmpty());
  EXPECT_THAT(splitCommands("    "), IsEmpty());
  EXPECT_THAT(splitCommands(" & && & "), IsEmpty());
}

TEST(SplitCommands, KeepsAnOverLongCommandWhole) {
  const std::string longCommand(200000, 'x');
  EXPECT_THAT(splitCommands(longCommand + "&b"), ElementsAre(longCommand, "b"));
}

TEST(RunSequence, StopsAfterTheFirstNonzeroCode) {
  std::vector<std::string> ran;
  const std::vector<std::string_view> commands{"ok", "fail 3", "never"};
  const int code = runSequence(commands, [&](std::string_view command) {
    ran.emplace_back(command);
    return command == "ok" ? 0 : 3;
  });
  EXPECT_EQ(code, 3);
  EXPECT_THAT(ran, ElementsAre("ok", "fail 3"));
}

TEST(RunSequence, AnswersTheLastCodeNeverAMaximum) {
  const std::vector<std::string_view> commands{"a", "b", "c"};
  std::vector<int> codes{0, 0, -1};
  int next = 0;
  EXPECT_EQ(runSequence(commands, [&](std::string_view) { return codes[next++]; }), -1);
  EXPECT_EQ(next, 3);
  EXPECT_EQ(runSequence({}, [](std::string_view) { return 5; }), 0);
}

}  // namespace
