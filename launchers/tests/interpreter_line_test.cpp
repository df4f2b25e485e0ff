// Escaping for cmd.exe and for the started program's C runtime, checked
// against models of both (tests/model) and against forms verified under cmd.exe.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cmd_escape.h"
#include "cmd_model.h"
#include "crt_arguments.h"
#include "crt_split_model.h"
#include "interpreter_line.h"

namespace kel {
namespace {

using test::simulateCmd;
using test::splitLikeCrt;

// What a program started through cmd.exe with `arguments` passed bare receives.
std::vector<std::string> deliveredArguments(const std::vector<std::string>& arguments) {
  std::string programLine = "prog";
  appendPassThrough(programLine, arguments);
  const InterpreterLine line = prepareInterpreterLine(programLine);
  EXPECT_EQ(line.refusal, "");
  const test::CmdOutcome cmd = simulateCmd(line.text);
  EXPECT_EQ(cmd.fault, "") << line.text;
  EXPECT_EQ(cmd.programLine, programLine);
  const test::CrtSplit split = splitLikeCrt(cmd.programLine);
  EXPECT_EQ(split.fault, "");
  std::vector<std::string> delivered = split.arguments;
  delivered.erase(delivered.begin());
  return delivered;
}

TEST(LauncherModels, CatchLinesThatCmdWouldMisread) {
  EXPECT_NE(simulateCmd("prog a&b").fault, "");
  EXPECT_NE(simulateCmd("prog a>b").fault, "");
  EXPECT_NE(simulateCmd("prog 50%PATH%").fault, "");
  EXPECT_NE(simulateCmd("prog \"50%PATH%\"").fault, "");
  EXPECT_NE(simulateCmd("prog a\nb").fault, "");
  EXPECT_EQ(simulateCmd("prog \"a&b\" c^&d").programLine, "prog \"a&b\" c&d");
  EXPECT_EQ(splitLikeCrt("p \"C:\\ws\\\"  -u x").arguments,
            (std::vector<std::string>{"p", "C:\\ws\"  -u x"}));

  // cmd.exe /c drops the first and last quote of this line and looks for C:\K
  // (9009 under Wine), with two quotes only it may keep them or not, and a
  // command name ends at ; and cannot hold ( even escaped.
  EXPECT_EQ(simulateCmd("\"C:\\K T\\java\" -cp \"C:\\K T\\x.jar\" -u x").programName, "C:\\K");
  EXPECT_NE(simulateCmd("\"C:\\K&T\\keltool\" -s x").fault, "");
  EXPECT_EQ(simulateCmd("C:\\a;b\\java x").programName, "C:\\a");
  EXPECT_NE(simulateCmd("C:\\a^(b\\java x").fault, "");
  const test::CmdOutcome wrapped = simulateCmd("\"\"C:\\K T\\java\" a^&b\"");
  EXPECT_EQ(wrapped.fault, "");
  EXPECT_EQ(wrapped.programLine, "\"C:\\K T\\java\" a&b");
  EXPECT_EQ(wrapped.programName, "C:\\K T\\java");
}

TEST(LauncherCmdEscape, UsesTheFormsVerifiedUnderCmd) {
  EXPECT_EQ(escapeForCmd("p a&b x|y p>q c^d"), "p a^&b x^|y p^>q c^^d");
  EXPECT_EQ(escapeForCmd("p 50%PATH%"), "p 50%%cd:~,%PATH%%cd:~,%");
  EXPECT_EQ(escapeForCmd("p <(x)"), "p ^<^(x^)");
}

TEST(LauncherCmdEscape, AddsNoCaretsInsideQuotesButStillProtectsPercent) {
  EXPECT_EQ(escapeForCmd("p \"a&b^\" c&d"), "p \"a&b^\" c^&d");
  EXPECT_EQ(escapeForCmd("p \"50%\""), "p \"50%%cd:~,%\"");
}

TEST(LauncherPassThrough, SpecialCharactersArriveUnchanged) {
  const std::vector<std::string> arguments = {"a&b", "x|y", "p>q", "c^d", "50%PATH%", "<",
                                              "(",   ")",   "%%",  "^",   "a^^&&b",   "100%"};
  EXPECT_EQ(deliveredArguments(arguments), arguments);
}

TEST(LauncherPassThrough, LiteralQuotesArriveAsQuotesAndOpenNoHole) {
  // A quote switches cmd.exe's quoting, which changes what carets mean for
  // everything after it; both the quote and what follows must still arrive.
  const std::vector<std::string> arguments = {"a\"b&c", "d&e", "\\\"", "x\\\\\"y|z", "\"", "q%PATH%"};
  EXPECT_EQ(deliveredArguments(arguments), arguments);
  EXPECT_EQ(bareArgument("a\\\"b"), "a\\\\\\\"b");
}

TEST(LauncherPassThrough, PlainArgumentsAreWrittenUnchangedAndSplitIntoWords) {
  std::string line = "prog";
  appendPassThrough(line, std::vector<std::string>{"-u", "C:\\dir\\", "two words", ""});
  EXPECT_EQ(line, "prog -u C:\\dir\\ two words ");
  EXPECT_EQ(deliveredArguments({"two words", "C:\\dir\\", "tab\there"}),
            (std::vector<std::string>{"two", "words", "C:\\dir\\", "tab", "here"}));
}

TEST(LauncherQuotedArgument, TrailingBackslashesDoNotEscapeTheClosingQuote) {
  EXPECT_EQ(quotedArgument("C:\\ws\\"), "\"C:\\ws\\\\\"");
  EXPECT_EQ(quotedArgument("C:\\My Work"), "\"C:\\My Work\"");
  for (const std::string workspace : {"C:\\ws\\", "C:\\ws\\\\", "\\\\srv\\share\\", "a\"b\\", "", "%x%"}) {
    const std::string programLine = "p " + quotedArgument(workspace) + "  -u x";
    const test::CmdOutcome cmd = simulateCmd(prepareInterpreterLine(programLine).text);
    ASSERT_EQ(cmd.fault, "");
    EXPECT_EQ(splitLikeCrt(cmd.programLine).arguments,
              (std::vector<std::string>{"p", workspace, "-u", "x"}));
  }
}

TEST(LauncherInterpreterLine, LineStartingWithAQuoteGetsOneMorePairAndKeepsItsCarets) {
  // As verified under Wine's cmd.exe: the outer pair goes before carets are
  // read, so the inner line is escaped as if it stood alone.
  EXPECT_EQ(prepareInterpreterLine("\"C:\\K T\\java\" -cp \"C:\\K T\\x.jar\" a&b c^d").text,
            "\"\"C:\\K T\\java\" -cp \"C:\\K T\\x.jar\" a^&b c^^d\"");
  EXPECT_EQ(prepareInterpreterLine("C:\\KEL\\keltool -s x&y").text, "C:\\KEL\\keltool -s x^&y");
}

TEST(LauncherInterpreterLine, RefusesWhatCmdWouldCutShort) {
  const std::string longest = "p " + std::string(kMaxInterpreterLine - 2, 'a');
  EXPECT_EQ(prepareInterpreterLine(longest).text, longest);
  EXPECT_EQ(prepareInterpreterLine(longest).refusal, "");

  const InterpreterLine tooLong = prepareInterpreterLine(longest + "a");
  EXPECT_EQ(tooLong.text, "");
  EXPECT_EQ(tooLong.refusal,
            "The command line is too long for the command interpreter (8192 characters, at most "
            "8191); nothing was started.");

  // Measured after escaping: 1,100 percent signs become 8,800 characters,
  // 4,100 ampersands 8,200.
  EXPECT_NE(prepareInterpreterLine("p " + std::string(1100, '%')).refusal, "");
  EXPECT_NE(prepareInterpreterLine("p " + std::string(4100, '&')).refusal, "");
  EXPECT_EQ(prepareInterpreterLine("p " + std::string(1000, '%')).refusal, "");

  for (const char* broken : {"p a\nb", "p a\rb"}) {
    const InterpreterLine refused = prepareInterpreterLine(broken);
    EXPECT_EQ(refused.text, "");
    EXPECT_EQ(refused.refusal.find('\n'), std::string::npos);
    EXPECT_NE(refused.refusal, "");
  }
}

}  // namespace
}  // namespace kel
