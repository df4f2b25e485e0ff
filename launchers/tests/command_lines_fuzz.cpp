// Any KELHOME value and arguments: a value is taken unless a quote is left in
// it; kelpass's scan keeps every pass-through argument in order; and each of
// the three command lines, with the value as the install directory (as on a
// volume without short names), reaches its program (through the models of
// cmd.exe and the C runtime, and for the two Java lines of a Java launcher)
// as its paths whole, its fixed words, the workspace and the words of the
// pass-through arguments, or is refused for a reason that holds.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cmd_model.h"
#include "command_line.h"
#include "crt_split_model.h"
#include "java_split_model.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

using Text = std::u16string;

// The split of `programLine` as its program sees it, or nothing when refused.
// A Java launcher (`firstJavaArgument`, the index of its first application
// argument, is not 0) must split it as the C runtime does and expand none
// of the application's arguments into file names.
std::optional<std::vector<Text>> delivered(const Text& programLine, std::size_t firstJavaArgument = 0) {
  const kel::InterpreterLine line = kel::prepareInterpreterLine(programLine);
  if (!line.refusal.empty()) {
    check(line.text.empty());
    check(programLine.find_first_of(u"\r\n") != Text::npos || programLine.size() + 2 > kel::MAX_INTERPRETER_LINE ||
          programLine.find_first_of(u"%&|<>^()") != Text::npos);
    return std::nullopt;
  }
  check(line.text.size() <= kel::MAX_INTERPRETER_LINE);
  const kel::test::CmdOutcome cmd = kel::test::simulateCmd(line.text);
  check(cmd.fault.empty() && cmd.programLine == programLine);
  kel::test::CrtSplit split = kel::test::splitLikeCrt(programLine);
  check(split.fault.empty() && !split.arguments.empty() && cmd.programName == split.arguments.front());
  if (firstJavaArgument > 0) {
    const kel::test::JavaSplit java = kel::test::splitLikeJava(programLine);
    check(java.arguments == split.arguments);
    for (std::size_t i = firstJavaArgument; i < java.wildcard.size(); ++i) check(!java.wildcard[i]);
  }
  return std::move(split.arguments);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Past this every line is refused for its length; longer inputs only cost time.
  if (size > kel::MAX_INTERPRETER_LINE + 100) return 0;
  // The first piece is KELHOME's value, the rest the arguments. Bytes from
  // 0x80 stand for the characters U+4E80-U+4EFF (such as U+4E88, whose second
  // byte in code page 932 is a backslash).
  std::vector<Text> pieces(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      pieces.emplace_back();
    } else {
      pieces.back() += static_cast<char16_t>(data[i] < 0x80 ? data[i] : 0x4E00 + data[i]);
    }
  }
  const Text& kelhome = pieces.front();
  const std::optional<Text> taken = kel::installDirFromKelhome(kelhome);
  if (taken) {
    Text slashed = kelhome;
    std::replace(slashed.begin(), slashed.end(), u'/', u'\\');
    check(taken->find_first_of(u"\"/") == Text::npos && (*taken == slashed || u'"' + *taken + u'"' == slashed));
  } else {
    check(kelhome.find(u'"') != Text::npos);
  }
  // A refused value starts nothing; the lines are still checked with another.
  const Text installDir = taken.value_or(u"C:\\KEL");
  const std::vector<Text> arguments(pieces.begin() + 1, pieces.end());
  std::vector<std::size_t> lengths;
  for (const Text& argument : arguments) lengths.push_back(argument.size());
  const kel::ScannedArguments scanned = kel::scanArguments(arguments, lengths);

  std::size_t next = 0;
  for (const Text& passed : scanned.passThrough) {
    while (next < arguments.size() && arguments[next] != passed) ++next;
    check(next < arguments.size() && !passed.starts_with(u"-e"));
    ++next;
  }

  const Text workspace = scanned.workspace.value_or(kel::defaultWorkspace(installDir));
  const std::vector<Text> words = kel::test::wordsOf(scanned.passThrough);

  if (const auto application = delivered(kel::applicationCommand(installDir, workspace, scanned.passThrough), 5)) {
    std::vector<Text> expected = {
        installDir + u"\\eclipse\\jre\\bin\\java", u"-Xzq", u"-cp", installDir + u"\\eclipse\\startup.jar",
        u"org.eclipse.core.launcher.Main", u"-noupdate", u"-application",
        u"com.vum.kel.KELpass.kelpass", u"-data", workspace};
    expected.insert(expected.end(), words.begin(), words.end());
    check(*application == expected);
  }
  if (const auto server = delivered(kel::serverCommand(installDir, scanned.passThrough))) {
    std::vector<Text> expected = {installDir + u"\\keltool", u"-s", u"SetPassword"};
    expected.insert(expected.end(), words.begin(), words.end());
    check(*server == expected);
  }
  if (const auto client = delivered(kel::toolClientCommand(installDir, arguments), 3)) {
    std::vector<Text> expected = {
        installDir + u"\\eclipse\\jre\\bin\\java", u"-jar",
        installDir + u"\\eclipse\\plugins\\com.vum.kel.KELtoolClient\\keltoolClient.jar"};
    for (Text& word : kel::test::wordsOf(arguments)) expected.push_back(std::move(word));
    check(*client == expected);
  }
  return 0;
}
