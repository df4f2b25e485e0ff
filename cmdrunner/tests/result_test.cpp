// What a call makes of its text: the commands its argument holds, and where
// each command's part of the output starts.
#include "result.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using kel::cmdrunner::OUTPUT_LIMIT;
using kel::cmdrunner::OutputAccumulator;
using kel::cmdrunner::splitCommands;
using Commands = std::vector<std::u16string_view>;

TEST(SplitCommands, AmpersandIsTheOnlySeparator) {
  const std::pair<std::u16string_view, Commands> cases[] = {
      {u"prog a b", {u"prog a b"}},
      {u"first x & second y", {u"first x ", u"second y"}},
      // Quotes and other operators protect nothing.
      {u"echo \"a&b\"", {u"echo \"a", u"b\""}},
      {u"a|b>c^&d", {u"a|b>c^", u"d"}},
      // Blanks and `&` before a command are skipped, blanks before a `&` stay.
      {u"  & &&  a  &&& & b &  ", {u"a  ", u"b "}},
      {u"&a&", {u"a"}},
      // A tab is no blank: it belongs to the command, and can be one.
      {u"\ta\t&\tb", {u"\ta\t", u"\tb"}},
      {u" \t ", {u"\t "}},
      {u"", {}},
      {u" & && & ", {}},
  };
  for (const auto& [line, commands] : cases) EXPECT_EQ(splitCommands(line), commands) << testing::PrintToString(line);
  const std::u16string longCommand(200000, u'x');
  EXPECT_EQ(splitCommands(longCommand + u"&b"), (Commands{longCommand, u"b"}));
}

TEST(OutputAccumulator, KeepsWhereEachCommandsPartStarts) {
  OutputAccumulator output;
  output.beginPart();
  output.append("ab", 2);
  output.beginPart();
  output.beginPart();  // a command that wrote nothing
  output.append("\0c", 2);
  output.beginPart();
  EXPECT_EQ(output.partStarts(), (std::vector<std::size_t>{0, 2, 3}));
  // Once the limit is reached the part it cut stays the last.
  const std::string full(OUTPUT_LIMIT, 'd');
  output.append(full.data(), full.size());
  output.beginPart();
  output.append("e", 1);
  EXPECT_EQ(output.partStarts(), (std::vector<std::size_t>{0, 2, 3}));
  EXPECT_TRUE(output.overflowed());
}

}  // namespace
