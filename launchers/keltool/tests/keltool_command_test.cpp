// The command line keltool builds for the tool client.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "keltool_command.h"

namespace kel {
namespace {

constexpr const char* kJar = "D\\eclipse\\jre\\bin\\java -jar "
                             "D\\eclipse\\plugins\\com.vum.kel.KELtoolClient\\keltoolClient.jar";

TEST(KeltoolCommand, CharacterForCharacter) {
  EXPECT_EQ(toolClientCommand("D", std::vector<std::string>{}), kJar);
  EXPECT_EQ(toolClientCommand("D", std::vector<std::string>{"-s", "SetPassword", "x"}),
            std::string(kJar) + " -s SetPassword x");
  EXPECT_EQ(toolClientCommand("D", std::vector<std::string>{"two words", "C:\\dir\\"}),
            std::string(kJar) + " two words C:\\dir\\");
}

TEST(KeltoolCommand, InstallDirWithABlankIsQuotedInEveryPath) {
  EXPECT_EQ(toolClientCommand("C:\\K T", std::vector<std::string>{"x"}),
            "\"C:\\K T\\eclipse\\jre\\bin\\java\" -jar "
            "\"C:\\K T\\eclipse\\plugins\\com.vum.kel.KELtoolClient\\keltoolClient.jar\" x");
}

TEST(KeltoolCommand, AnyLengthIsBuiltWhole) {
  const std::vector<std::string> many(4000, "-v");
  const std::string line = toolClientCommand("D", many);
  EXPECT_EQ(line.size(), std::string(kJar).size() + 3 * many.size());
  EXPECT_TRUE(line.ends_with(" -v -v"));
}

}  // namespace
}  // namespace kel
