// The command lines, character for character, and what they deliver through
// models of cmd.exe and of the C runtime's and a Java launcher's splitting
// (tests/model), checked against forms verified under Wine's cmd.exe.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "cmd_model.h"
#include "command_line.h"
#include "crt_split_model.h"
#include "java_split_model.h"

namespace kel {
namespace {

using test::simulateCmd;
using test::splitLikeCrt;
using test::splitLikeJava;
using Words = std::vector<std::u16string>;

TEST(LauncherKelhome, QuotesAroundTheWholeValueAndSlashesGoAndAnyOtherQuoteIsRefused) {
  const std::pair<std::u16string, std::optional<std::u16string>> cases[] = {
      {u"\"C:\\KEL 1\"", u"C:\\KEL 1"},
      {u"C:\\KEL", u"C:\\KEL"},
      {u"\"\"", u""},
      // As users and scripts write it; Windows' cmd.exe would end a program name at a slash.
      {u"\"C:/KEL/x y\"", u"C:\\KEL\\x y"},
      {u"C:\\t\\\"home\"", std::nullopt},
      {u"\"C:\\KEL", std::nullopt},
      {u"C:\\KEL\"", std::nullopt},
      {u"\"", std::nullopt},
      {u"\"\"C:\\KEL\"\"", std::nullopt},
  };
  for (const auto& [value, directory] : cases) EXPECT_EQ(installDirFromKelhome(value), directory);
}

TEST(LauncherScan, WorkspaceOptionAndContinuationPieces) {
  struct Case {
    Words arguments;
    std::optional<std::u16string> workspace;
    Words passThrough;
  };
  const Case cases[] = {
      {{}, std::nullopt, {}},
      {{u"-e"}, std::nullopt, {}},
      {{u"-u", u"x", u"-e"}, std::nullopt, {u"-u", u"x"}},
      {{u"-e", u"C:\\My", u"Work", u"Space", u"-u", u"x"}, u"C:\\My Work Space", {u"-u", u"x"}},
      {{u"-e", u"C:\\dir", u"ab"}, u"C:\\dir", {u"ab"}},
      {{u"-e", u"C:\\a", u"\\-b"}, u"C:\\a -b", {}},
      {{u"-e", u"C:\\a", u"\\-bc"}, u"C:\\a \\-bc", {}},
      {{u"-e", u"\\-b"}, u"\\-b", {}},
      {{u"-e", u"-u", u"x"}, u"-u x", {}},
      {{u"-exit", u"C:\\ws", u"-u"}, u"C:\\ws", {u"-u"}},
      {{u"-e", u"C:\\one", u"-e", u"C:\\two", u"-p", u"pw"}, u"C:\\two", {u"-p", u"pw"}},
      {{u"-e", u"C:\\one", u"-e"}, u"C:\\one", {}},
      {{u"-E", u"x", u"e"}, std::nullopt, {u"-E", u"x", u"e"}},
      {{u"-e", u"C:\\a", u"", u"b"}, u"C:\\a  b", {}},
  };
  for (const Case& c : cases) {
    std::vector<std::size_t> lengths;
    for (const std::u16string& argument : c.arguments) lengths.push_back(argument.size());
    const ScannedArguments scanned = scanArguments(c.arguments, lengths);
    EXPECT_EQ(scanned.workspace, c.workspace) << testing::PrintToString(c.arguments);
    EXPECT_EQ(scanned.passThrough, c.passThrough) << testing::PrintToString(c.arguments);
  }
  // The length that ends a path is the code page's: two UTF-16 units may be one character there.
  EXPECT_EQ(scanArguments(Words{u"-e", u"C:\\a", u"\u65E5"}, std::vector<std::size_t>{2, 4, 2}).workspace, u"C:\\a");
}

const std::u16string d = u"D\\eclipse\\jre\\bin\\java";

TEST(LauncherCommandLines, CharacterForCharacter) {
  EXPECT_EQ(applicationCommand(u"D", u"C:\\ws", Words{u"-u", u"x"}),
            d + u" -Xzq -cp D\\eclipse\\startup.jar org.eclipse.core.launcher.Main -noupdate  -application "
                u"com.vum.kel.KELpass.kelpass -data \"C:\\ws\"  -u x");
  EXPECT_EQ(applicationCommand(u"C:\\PROGRA~1\\KEL", defaultWorkspace(u"C:\\PROGRA~1\\KEL"), Words{}),
            u"C:\\PROGRA~1\\KEL\\eclipse\\jre\\bin\\java -Xzq -cp C:\\PROGRA~1\\KEL\\eclipse\\startup.jar "
            u"org.eclipse.core.launcher.Main -noupdate  -application com.vum.kel.KELpass.kelpass "
            u"-data \"C:\\PROGRA~1\\KEL\\eclipse\\workspace\" ");
  EXPECT_EQ(serverCommand(u"D", Words{u"-u", u"x"}), u"D\\keltool -s SetPassword -u x");
  EXPECT_EQ(serverCommand(u"D", Words{}), u"D\\keltool -s SetPassword");
  const std::u16string client = d + u" -jar D\\eclipse\\plugins\\com.vum.kel.KELtoolClient\\keltoolClient.jar";
  EXPECT_EQ(toolClientCommand(u"D", Words{}), client);
  EXPECT_EQ(toolClientCommand(u"D", Words{u"-s", u"SetPassword", u"two words", u"C:\\dir\\", u""}),
            client + u" -s SetPassword two words C:\\dir\\ ");
  // Any length is built whole; cmd.exe's limit is checked apart.
  const Words many(4000, u"-v");
  EXPECT_EQ(toolClientCommand(u"D", many).size(), client.size() + 3 * many.size());
  EXPECT_EQ(applicationCommand(u"", u"C:\\w", Words{}).substr(0, 23), u"\\eclipse\\jre\\bin\\java -");
}

TEST(LauncherCommandLines, InstallPathsAreQuotedOnlyWhereTheInstallDirWouldSplitThem) {
  EXPECT_EQ(serverCommand(u"C:\\PROGRA~1\\KEL-1.2_x~!", Words{}), u"C:\\PROGRA~1\\KEL-1.2_x~!\\keltool -s SetPassword");
  for (const char16_t c : std::u16string_view(u" \t;,=()&|<>^%\v\f\u00FF\u00A0")) {
    const std::u16string dir = u"C:\\K" + std::u16string(1, c) + u"T";
    EXPECT_EQ(serverCommand(dir, Words{}), u"\"" + dir + u"\\keltool\" -s SetPassword") << static_cast<int>(c);
  }
  EXPECT_EQ(toolClientCommand(u"C:\\K T", Words{u"x"}),
            u"\"C:\\K T\\eclipse\\jre\\bin\\java\" -jar "
            u"\"C:\\K T\\eclipse\\plugins\\com.vum.kel.KELtoolClient\\keltoolClient.jar\" x");
}

TEST(LauncherModels, CatchLinesThatCmdWouldMisread) {
  EXPECT_NE(simulateCmd(u"prog a&b").fault, "");
  EXPECT_NE(simulateCmd(u"prog a>b").fault, "");
  EXPECT_NE(simulateCmd(u"prog 50%PATH%").fault, "");
  EXPECT_NE(simulateCmd(u"prog \"50%PATH%\"").fault, "");
  EXPECT_NE(simulateCmd(u"prog a\nb").fault, "");
  EXPECT_EQ(simulateCmd(u"prog \"a&b\" c^&d").programLine, u"prog \"a&b\" c&d");
  EXPECT_EQ(splitLikeCrt(u"p \"C:\\ws\\\"  -u x").arguments, (Words{u"p", u"C:\\ws\"  -u x"}));

  // cmd.exe /s /c drops the first and last quote of a line that starts with
  // one and looks for C:\K (9009 under Wine); a command name ends at ; and
  // cannot hold ( even escaped.
  EXPECT_EQ(simulateCmd(u"\"C:\\K T\\java\" -cp \"C:\\K T\\x.jar\" -u x").programName, u"C:\\K");
  EXPECT_NE(simulateCmd(u"\"C:\\K&T\\keltool\" -s x").fault, "");
  EXPECT_EQ(simulateCmd(u"C:\\a;b\\java x").programName, u"C:\\a");
  EXPECT_NE(simulateCmd(u"C:\\a^(b\\java x").fault, "");
  const test::CmdOutcome wrapped = simulateCmd(u"\"\"C:\\K T\\java\" a^&b\"");
  EXPECT_EQ(wrapped.fault, "");
  EXPECT_EQ(wrapped.programLine, u"\"C:\\K T\\java\" a&b");
  EXPECT_EQ(wrapped.programName, u"C:\\K T\\java");

  // A Java launcher: one more quote for \"" than the C runtime, and * ? outside quotes marked.
  EXPECT_EQ(splitLikeJava(u"j a\\\"\" b").arguments, (Words{u"j", u"a\"\" b"}));
  EXPECT_EQ(splitLikeCrt(u"j a\\\"\" b").arguments, (Words{u"j", u"a\" b"}));
  EXPECT_EQ(splitLikeJava(u"j \"a b\"\"").arguments, (Words{u"j", u"a b\""}));
  EXPECT_EQ(splitLikeJava(u"j ab*c \"x?y\" d\\*").wildcard, (std::vector<bool>{false, true, false, true}));
}

// What the tool client receives, through cmd.exe and a Java launcher, for
// `arguments` passed through; the line's own start is checked above.
Words delivered(const Words& arguments) {
  const std::u16string programLine = toolClientCommand(u"D", arguments);
  const InterpreterLine line = prepareInterpreterLine(programLine);
  EXPECT_EQ(line.refusal, "");
  const test::CmdOutcome cmd = simulateCmd(line.text);
  EXPECT_EQ(cmd.fault, "") << testing::PrintToString(line.text);
  EXPECT_EQ(cmd.programLine, programLine);
  const test::CrtSplit crt = splitLikeCrt(programLine);
  EXPECT_EQ(crt.fault, "");
  const test::JavaSplit java = splitLikeJava(programLine);
  EXPECT_EQ(java.arguments, crt.arguments);
  for (std::size_t i = 3; i < java.wildcard.size(); ++i) EXPECT_FALSE(java.wildcard[i]) << i;
  return Words(crt.arguments.begin() + 3, crt.arguments.end());
}

TEST(LauncherPassThrough, SpecialCharactersArriveUnchanged) {
  const Words arguments = {u"a&b", u"x|y", u"p>q", u"c^d", u"50%PATH%", u"<", u"(",  u")",
                           u"%%",  u"^",   u"a^^&&b", u"100%", u"ab*", u"?", u"C:\\d\\*\\"};
  EXPECT_EQ(delivered(arguments), arguments);
}

TEST(LauncherPassThrough, LiteralQuotesArriveAsQuotesAndOpenNoHole) {
  // A quote switches cmd.exe's quoting, which changes what carets mean for
  // everything after it; both the quote and what follows must still arrive.
  const Words arguments = {u"a\"b&c", u"d&e", u"\\\"", u"x\\\\\"y|z", u"\"", u"q%PATH%", u"*\"", u"\"?"};
  EXPECT_EQ(delivered(arguments), arguments);
}

TEST(LauncherPassThrough, ArgumentsArriveAsTheirWords) {
  EXPECT_EQ(delivered({u"two words", u"C:\\dir\\", u"tab\there", u"x *y"}),
            (Words{u"two", u"words", u"C:\\dir\\", u"tab", u"here", u"x", u"*y"}));
}

TEST(LauncherWorkspace, ArrivesWholeWhateverItEndsIn) {
  for (const std::u16string workspace : {u"C:\\ws\\", u"C:\\ws\\\\", u"\\\\srv\\share\\", u"a\"b\\", u"", u"%x%",
                                         u"C:\\My Work", u"a*b"}) {
    const std::u16string programLine = applicationCommand(u"D", workspace, Words{u"-u", u"x"});
    const test::CmdOutcome cmd = simulateCmd(prepareInterpreterLine(programLine).text);
    ASSERT_EQ(cmd.fault, "");
    const Words arguments = splitLikeCrt(cmd.programLine).arguments;
    EXPECT_EQ(Words(arguments.end() - 3, arguments.end()), (Words{workspace, u"-u", u"x"}));
    EXPECT_EQ(splitLikeJava(cmd.programLine).arguments, arguments);
  }
}

TEST(LauncherInterpreterLine, TheLineGetsOneMorePairAndKeepsItsCarets) {
  // As verified under Wine's cmd.exe /s /c: the outer pair goes before carets
  // are read, so the inner line is escaped as if it stood alone.
  EXPECT_EQ(prepareInterpreterLine(u"\"C:\\K T\\java\" -cp \"C:\\K T\\x.jar\" a&b c^d").text,
            u"\"\"C:\\K T\\java\" -cp \"C:\\K T\\x.jar\" a^&b c^^d\"");
  EXPECT_EQ(prepareInterpreterLine(u"p a&b x|y p>q c^d <(x)").text, u"\"p a^&b x^|y p^>q c^^d ^<^(x^)\"");
  // No carets inside quotes, but % is protected there too.
  EXPECT_EQ(prepareInterpreterLine(u"p \"a&b^\" c&d 50%PATH% \"50%\"").text,
            u"\"p \"a&b^\" c^&d 50%%cd:~,%PATH%%cd:~,% \"50%%cd:~,%\"\"");
}

TEST(LauncherInterpreterLine, RefusesWhatCmdWouldCutShort) {
  // The limit counts UTF-16 units, the outer pair of quotes with them.
  const std::u16string longest = u"p " + std::u16string(MAX_INTERPRETER_LINE - 4, u'\u4E0E');
  EXPECT_EQ(prepareInterpreterLine(longest).text, u'"' + longest + u'"');
  const InterpreterLine tooLong = prepareInterpreterLine(longest + u"a");
  EXPECT_EQ(tooLong.text, u"");
  EXPECT_EQ(tooLong.refusal,
            "The command line is too long for the command interpreter (8192 characters, at most "
            "8191); nothing was started.");
  // Measured after escaping: 1,100 percent signs become 8,800 characters.
  EXPECT_NE(prepareInterpreterLine(u"p " + std::u16string(1100, u'%')).refusal, "");
  EXPECT_EQ(prepareInterpreterLine(u"p " + std::u16string(1000, u'%')).refusal, "");
  for (const char16_t* broken : {u"p a\nb", u"p a\rb"}) {
    const InterpreterLine refused = prepareInterpreterLine(broken);
    EXPECT_EQ(refused.text, u"");
    EXPECT_EQ(refused.refusal,
              "The command line holds a line break, which the command interpreter cannot pass on; "
              "nothing was started.");
  }
}

}  // namespace
}  // namespace kel
