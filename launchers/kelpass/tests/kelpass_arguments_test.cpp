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
  EXPECT_EQ(applicationCommand("D", "C:\\ws", Args{"-u", "x"}),
            "D\\eclipse\\jre\\bin\\java -Xzq -cp D\\eclipse\\startup.jar "
            "org.eclipse.core.launcher.Main -noupdate  -application com.vum.kel.KELpass.kelpass "
            "-data \"C:\\ws\"  -u x");
  EXPECT_EQ(applicationCommand("C:\\PROGRA~1\\KEL", defaultWorkspace("C:\\PROGRA~1\\KEL"), Args{}),
            "C:\\PROGRA~1\\KEL\\eclipse\\jre\\bin\\java -Xzq -cp C:\\PROGRA~1\\KEL\\eclipse\\startup.jar "
            "org.eclipse.core.launcher.Main -noupdate  -application com.vum.kel.KELpass.kelpass "
            "-data \"C:\\PROGRA~1\\KEL\\eclipse\\workspace\" ");
  EXPECT_EQ(applicationCommand("", "C:\\ws\\", Args{"a"}).substr(0, 23), "\\eclipse\\jre\\bin\\java -");
}

TEST(KelpassCommands, InstallDirWithABlankIsQuotedInEveryPath) {
  EXPECT_EQ(applicationCommand("C:\\K T", "C:\\ws", Args{"-u", "x"}),
            "\"C:\\K T\\eclipse\\jre\\bin\\java\" -Xzq -cp \"C:\\K T\\eclipse\\startup.jar\" "
            "org.eclipse.core.launcher.Main -noupdate  -application com.vum.kel.KELpass.kelpass "
            "-data \"C:\\ws\"  -u x");
  EXPECT_EQ(serverCommand("C:\\K T", Args{"-u", "x"}), "\"C:\\K T\\keltool\" -s SetPassword -u x");
}

TEST(KelpassCommands, WorkspaceEndingInBackslashKeepsItsQuote) {
  const std::string line = applicationCommand("D", "C:\\ws\\", Args{"-u", "x"});
  EXPECT_TRUE(line.ends_with("-data \"C:\\ws\\\\\"  -u x")) << line;
}

TEST(KelpassCommands, ServerCommandCharacterForCharacter) {
  EXPECT_EQ(serverCommand("D", Args{"-u", "x"}), "D\\keltool -s SetPassword -u x");
  EXPECT_EQ(serverCommand("D", Args{}), "D\\keltool -s SetPassword");
}

TEST(KelpassCommands, AnyLengthIsBuiltWhole) {
  const std::string workspace = "C:\\" + std::string(5000, 'w');
  const Args many(3000, "-v");
  const std::string line = applicationCommand("D", workspace, many);
  EXPECT_EQ(line.size(), applicationCommand("D", workspace, Args{}).size() + 3 * many.size());
  EXPECT_NE(line.find("\"" + workspace + "\"  -v -v"), std::string::npos);
  EXPECT_EQ(serverCommand("D", many).size(), serverCommand("D", Args{}).size() + 3 * many.size());
}

}  // namespace
}  // namespace kel
