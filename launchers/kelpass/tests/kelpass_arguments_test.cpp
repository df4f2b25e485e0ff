// kelpass's argument scan and the two command lines it builds.
#include <gtest/gtest.h>

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "argument_scan.h"
#include "kelpass_commands.h"

namespace kel {
namespace {

using Args = std::vector<std::string>;
using Words = std::vector<std::u16string>;

struct ScanCase {
  Args arguments;
  std::optional<std::string> workspace;
  Args passThrough;
};

TEST(KelpassScan, WorkspaceOptionAndContinuationPieces) {
  const std::vector<ScanCase> cases = {
      {{}, std::nullopt, {}},
      {{"-e"}, std::nullopt, {}},
      {{"-u", "x", "-e"}, std::nullopt, {"-u", "x"}},
      {{"-e", "C:\\My", "Work", "Space", "-u", "x"}, "C:\\My Work Space", {"-u", "x"}},
      {{"-e", "C:\\dir", "ab"}, "C:\\dir", {"ab"}},
      {{"-e", "C:\\a", "\\-b"}, "C:\\a -b", {}},
      {{"-e", "C:\\a", "\\-bc"}, "C:\\a \\-bc", {}},
      {{"-e", "\\-b"}, "\\-b", {}},
      {{"-e", "-u", "x"}, "-u x", {}},
      {{"-exit", "C:\\ws", "-u"}, "C:\\ws", {"-u"}},
      {{"-e", "C:\\one", "-e", "C:\\two", "-p", "pw"}, "C:\\two", {"-p", "pw"}},
      {{"-e", "C:\\one", "-e"}, "C:\\one", {}},
      {{"-E", "x", "e"}, std::nullopt, {"-E", "x", "e"}},
      {{"-e", "C:\\a", "", "b"}, "C:\\a  b", {}},
  };
  for (const ScanCase& c : cases) {
    const auto scanned =
        scanArguments(std::span<const std::string>(c.arguments), [](std::string_view piece) { return piece.size(); });
    EXPECT_EQ(scanned.workspace, c.workspace) << testing::PrintToString(c.arguments);
    EXPECT_EQ(scanned.passThrough, c.passThrough) << testing::PrintToString(c.arguments);
  }
}

TEST(KelpassCommands, ApplicationCommandCharacterForCharacter) {
  EXPECT_EQ(applicationCommand(u"D", u"C:\\ws", Words{u"-u", u"x"}),
            u"D\\eclipse\\jre\\bin\\java -Xzq -cp D\\eclipse\\startup.jar "
            u"org.eclipse.core.launcher.Main -noupdate  -application com.vum.kel.KELpass.kelpass "
            u"-data \"C:\\ws\"  -u x");
  EXPECT_EQ(applicationCommand(u"C:\\PROGRA~1\\KEL", defaultWorkspace(u"C:\\PROGRA~1\\KEL"), Words{}),
            u"C:\\PROGRA~1\\KEL\\eclipse\\jre\\bin\\java -Xzq -cp C:\\PROGRA~1\\KEL\\eclipse\\startup.jar "
            u"org.eclipse.core.launcher.Main -noupdate  -application com.vum.kel.KELpass.kelpass "
            u"-data \"C:\\PROGRA~1\\KEL\\eclipse\\workspace\" ");
  EXPECT_EQ(applicationCommand(u"", u"C:\\ws\\", Words{u"a"}).substr(0, 23), u"\\eclipse\\jre\\bin\\java -");
}

TEST(KelpassCommands, InstallDirWithABlankIsQuotedInEveryPath) {
  EXPECT_EQ(applicationCommand(u"C:\\K T", u"C:\\ws", Words{u"-u", u"x"}),
            u"\"C:\\K T\\eclipse\\jre\\bin\\java\" -Xzq -cp \"C:\\K T\\eclipse\\startup.jar\" "
            u"org.eclipse.core.launcher.Main -noupdate  -application com.vum.kel.KELpass.kelpass "
            u"-data \"C:\\ws\"  -u x");
  EXPECT_EQ(serverCommand(u"C:\\K T", Words{u"-u", u"x"}), u"\"C:\\K T\\keltool\" -s SetPassword -u x");
}

TEST(KelpassCommands, WorkspaceEndingInBackslashKeepsItsQuote) {
  const std::u16string line = applicationCommand(u"D", u"C:\\ws\\", Words{u"-u", u"x"});
  EXPECT_TRUE(line.ends_with(u"-data \"C:\\ws\\\\\"  -u x")) << testing::PrintToString(line);
}

TEST(KelpassCommands, ServerCommandCharacterForCharacter) {
  EXPECT_EQ(serverCommand(u"D", Words{u"-u", u"x"}), u"D\\keltool -s SetPassword -u x");
  EXPECT_EQ(serverCommand(u"D", Words{}), u"D\\keltool -s SetPassword");
}

TEST(KelpassCommands, AnyLengthIsBuiltWhole) {
  const std::u16string workspace = u"C:\\" + std::u16string(5000, u'w');
  const Words many(3000, u"-v");
  const std::u16string line = applicationCommand(u"D", workspace, many);
  EXPECT_EQ(line.size(), applicationCommand(u"D", workspace, Words{}).size() + 3 * many.size());
  EXPECT_NE(line.find(u"\"" + workspace + u"\"  -v -v"), std::u16string::npos);
  EXPECT_EQ(serverCommand(u"D", many).size(), serverCommand(u"D", Words{}).size() + 3 * many.size());
}

}  // namespace
}  // namespace kel
