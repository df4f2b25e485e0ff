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
#include "java_split_model.h"

namespace kel {
namespace {

using test::simulateCmd;
using test::splitLikeCrt;
using Words = std::vector<std::u16string>;

// What a program started through cmd.exe with `arguments` passed bare receives.
Words deliveredArguments(const Words& arguments) {
  std::u16string programLine = u"prog";
  appendPassThrough(programLine, arguments);
  const InterpreterLine line = prepareInterpreterLine(programLine);
  EXPECT_EQ(line.refusal, "");
  const test::CmdOutcome cmd = simulateCmd(line.text);
  EXPECT_EQ(cmd.fault, "") << testing::PrintToString(line.text);
  EXPECT_EQ(cmd.programLine, programLine);
  const test::CrtSplit split = splitLikeCrt(cmd.programLine);
  EXPECT_EQ(split.fault, "");
  Words delivered = split.arguments;
  delivered.erase(delivered.begin());
  return delivered;
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
  EXPECT_EQ(test::splitLikeJava(u"j a\\\"\" b").arguments, (Words{u"j", u"a\"\" b"}));
  EXPECT_EQ(splitLikeCrt(u"j a\\\"\" b").arguments, (Words{u"j", u"a\" b"}));
  EXPECT_EQ(test::splitLikeJava(u"j \"a b\"\"").arguments, (Words{u"j", u"a b\""}));
  EXPECT_EQ(test::splitLikeJava(u"j ab*c \"x?y\" d\\*").wildcard, (std::vector<bool>{false, true, false, true}));
}

TEST(LauncherCmdEscape, UsesTheFormsVerifiedUnderCmd) {
  EXPECT_EQ(escapeForCmd(u"p a&b x|y p>q c^d"), u"p a^&b x^|y p^>q c^^d");
  EXPECT_EQ(escapeForCmd(u"p 50%PATH%"), u"p 50%%cd:~,%PATH%%cd:~,%");
  EXPECT_EQ(escapeForCmd(u"p <(x)"), u"p ^<^(x^)");
}

TEST(LauncherCmdEscape, AddsNoCaretsInsideQuotesButStillProtectsPercent) {
  EXPECT_EQ(escapeForCmd(u"p \"a&b^\" c&d"), u"p \"a&b^\" c^&d");
  EXPECT_EQ(escapeForCmd(u"p \"50%\""), u"p \"50%%cd:~,%\"");
}

TEST(LauncherPassThrough, SpecialCharactersArriveUnchanged) {
  const Words arguments = {u"a&b", u"x|y", u"p>q", u"c^d", u"50%PATH%", u"<",
                           u"(",   u")",   u"%%",  u"^",   u"a^^&&b",   u"100%"};
  EXPECT_EQ(deliveredArguments(arguments), arguments);
}

TEST(LauncherPassThrough, LiteralQuotesArriveAsQuotesAndOpenNoHole) {
  // A quote switches cmd.exe's quoting, which changes what carets mean for
  // everything after it; both the quote and what follows must still arrive.
  const Words arguments = {u"a\"b&c", u"d&e", u"\\\"", u"x\\\\\"y|z", u"\"", u"q%PATH%"};
  EXPECT_EQ(deliveredArguments(arguments), arguments);
  EXPECT_EQ(bareArgument(u"a\\\"b"), u"a\\\\\\\"b");
}

TEST(LauncherPassThrough, PlainArgumentsAreWrittenUnchangedAndSplitIntoWords) {
  std::u16string line = u"prog";
  appendPassThrough(line, Words{u"-u", u"C:\\dir\\", u"two words", u"", u"ab* x  y?\\"});
  EXPECT_EQ(line, u"prog -u C:\\dir\\ two words  \"ab*\" x  \"y?\\\\\"");
  EXPECT_EQ(deliveredArguments({u"two words", u"C:\\dir\\", u"tab\there"}),
            (Words{u"two", u"words", u"C:\\dir\\", u"tab", u"here"}));
}

TEST(LauncherQuotedArgument, TrailingBackslashesDoNotEscapeTheClosingQuote) {
  EXPECT_EQ(quotedArgument(u"C:\\ws\\"), u"\"C:\\ws\\\\\"");
  EXPECT_EQ(quotedArgument(u"C:\\My Work"), u"\"C:\\My Work\"");
  for (const std::u16string workspace : {u"C:\\ws\\", u"C:\\ws\\\\", u"\\\\srv\\share\\", u"a\"b\\", u"", u"%x%"}) {
    const std::u16string programLine = u"p " + quotedArgument(workspace) + u"  -u x";
    const test::CmdOutcome cmd = simulateCmd(prepareInterpreterLine(programLine).text);
    ASSERT_EQ(cmd.fault, "");
    EXPECT_EQ(splitLikeCrt(cmd.programLine).arguments, (Words{u"p", workspace, u"-u", u"x"}));
  }
}

TEST(LauncherInterpreterLine, TheLineGetsOneMorePairAndKeepsItsCarets) {
  // As verified under Wine's cmd.exe /s /c: the outer pair goes before carets
  // are read, so the inner line is escaped as if it stood alone.
  EXPECT_EQ(prepareInterpreterLine(u"\"C:\\K T\\java\" -cp \"C:\\K T\\x.jar\" a&b c^d").text,
            u"\"\"C:\\K T\\java\" -cp \"C:\\K T\\x.jar\" a^&b c^^d\"");
  EXPECT_EQ(prepareInterpreterLine(u"C:\\KEL\\keltool -s x&y").text, u"\"C:\\KEL\\keltool -s x^&y\"");
}

TEST(LauncherInterpreterLine, RefusesWhatCmdWouldCutShort) {
  // The limit counts UTF-16 units, the outer pair of quotes with them.
  const std::u16string longest = u"p " + std::u16string(kMaxInterpreterLine - 4, u'\u4E0E');
  EXPECT_EQ(prepareInterpreterLine(longest).text, u'"' + longest + u'"');
  EXPECT_EQ(prepareInterpreterLine(longest).refusal, "");

  const InterpreterLine tooLong = prepareInterpreterLine(longest + u"a");
  EXPECT_EQ(tooLong.text, u"");
  EXPECT_EQ(tooLong.refusal,
            "The command line is too long for the command interpreter (8192 characters, at most "
            "8191); nothing was started.");

  // Measured after escaping: 1,100 percent signs become 8,800 characters,
  // 4,100 ampersands 8,200.
  EXPECT_NE(prepareInterpreterLine(u"p " + std::u16string(1100, u'%')).refusal, "");
  EXPECT_NE(prepareInterpreterLine(u"p " + std::u16string(4100, u'&')).refusal, "");
  EXPECT_EQ(prepareInterpreterLine(u"p " + std::u16string(1000, u'%')).refusal, "");

  for (const char16_t* broken : {u"p a\nb", u"p a\rb"}) {
    const InterpreterLine refused = prepareInterpreterLine(broken);
    EXPECT_EQ(refused.text, u"");
    EXPECT_EQ(refused.refusal.find('\n'), std::string::npos);
    EXPECT_NE(refused.refusal, "");
  }
}

}  // namespace
}  // namespace kel
