// The command line keltool builds for the tool client.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keltool_command.h"

namespace kel {
namespace {

constexpr const char16_t* kJar = u"D\\eclipse\\jre\\bin\\java -jar "
                                 u"D\\eclipse\\plugins\\com.vum.kel.KELtoolClient\\keltoolClient.jar";
using Args = std::vector<std::u16string>;

TEST(KeltoolCommand, CharacterForCharacter) {
  EXPECT_EQ(toolClientCommand(u"D", Args{}), kJar);
  EXPECT_EQ(toolClientCommand(u"D", Args{u"-s", u"SetPassword", u"x"}), std::u16string(kJar) + u" -s SetPassword x");
  EXPECT_EQ(toolClientCommand(u"D", Args{u"two words", u"C:\\dir\\"}), std::u16string(kJar) + u" two words C:\\dir\\");
}

TEST(KeltoolCommand, InstallDirWithABlankIsQuotedInEveryPath) {
  EXPECT_EQ(toolClientCommand(u"C:\\K T", Args{u"x"}),
            u"\"C:\\K T\\eclipse\\jre\\bin\\java\" -jar "
            u"\"C:\\K T\\eclipse\\plugins\\com.vum.kel.KELtoolClient\\keltoolClient.jar\" x");
}

TEST(KeltoolCommand, AnyLengthIsBuiltWhole) {
  const Args many(4000, u"-v");
  const std::u16string line = toolClientCommand(u"D", many);
  EXPECT_EQ(line.size(), std::u16string(kJar).size() + 3 * many.size());
  EXPECT_TRUE(line.ends_with(u" -v -v"));
}

}  // namespace
}  // namespace kel
