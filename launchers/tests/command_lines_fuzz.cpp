// Any KELHOME value and arguments: a value is taken unless a quote is left in
// it; kelpass's scan keeps every pass-through argument in order; and each of
// the three command lines, with the value as the install directory (as on a
// volume without short names), reaches its program (through the models of
// cmd.exe and the C runtime) as its paths whole, its fixed words, the
// workspace and the words of the pass-through arguments, or is refused for a
// reason that holds.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "argument_scan.h"
#include "cmd_model.h"
#include "crt_split_model.h"
#include "interpreter_line.h"
#include "kelhome_value.h"
#include "kelpass_commands.h"
#include "keltool_command.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

// The split of `programLine` as its program sees it, or nothing when refused.
std::optional<std::vector<std::string>> delivered(const std::string& programLine) {
  const kel::InterpreterLine line = kel::prepareInterpreterLine(programLine);
  if (!line.refusal.empty()) {
    check(line.text.empty());
    const std::size_t wrapping = programLine.starts_with('"') ? 2 : 0;
    check(programLine.find_first_of("\r\n") != std::string::npos ||
          programLine.size() + wrapping > kel::kMaxInterpreterLine ||
          programLine.find_first_of("%&|<>^()") != std::string::npos);
    return std::nullopt;
  }
  check(line.text.size() <= kel::kMaxInterpreterLine);
  const kel::test::CmdOutcome cmd = kel::test::simulateCmd(line.text);
  check(cmd.fault.empty() && cmd.programLine == programLine);
  kel::test::CrtSplit split = kel::test::splitLikeCrt(programLine);
  check(split.fault.empty() && !split.arguments.empty() && cmd.programName == split.arguments.front());
  return std::move(split.arguments);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Past this every line is refused for its length; longer inputs only cost time.
  if (size > kel::kMaxInterpreterLine + 100) return 0;
  // The first piece is KELHOME's value, the rest the arguments.
  std::vector<std::string> pieces(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      pieces.emplace_back();
    } else {
      pieces.back() += static_cast<char>(data[i]);
    }
  }
  const std::string& kelhome = pieces.front();
  const std::optional<std::string> taken = kel::installDirFromKelhome(std::string_view(kelhome));
  if (taken) {
    check(taken->find('"') == std::string::npos && (*taken == kelhome || '"' + *taken + '"' == kelhome));
  } else {
    check(kelhome.find('"') != std::string::npos);
  }
  // A refused value starts nothing; the lines are still checked with another.
  const std::string installDir = taken.value_or("C:\\KEL");
  const std::vector<std::string> arguments(pieces.begin() + 1, pieces.end());
  const auto scanned = kel::scanArguments(std::span<const std::string>(arguments),
                                          [](std::string_view piece) { return piece.size(); });

  std::size_t next = 0;
  for (const std::string& passed : scanned.passThrough) {
    while (next < arguments.size() && arguments[next] != passed) ++next;
    check(next < arguments.size() && !kel::isWorkspaceOption(std::string_view(passed)));
    ++next;
  }

  const std::string workspace = scanned.workspace.value_or(kel::defaultWorkspace(installDir));
  const std::vector<std::string> words = kel::test::wordsOf(scanned.passThrough);

  if (const auto application = delivered(kel::applicationCommand(installDir, workspace, scanned.passThrough))) {
    std::vector<std::string> expected = {
        installDir + "\\eclipse\\jre\\bin\\java", "-Xzq", "-cp", installDir + "\\eclipse\\startup.jar",
        "org.eclipse.core.launcher.Main", "-noupdate", "-application",
        "com.vum.kel.KELpass.kelpass", "-data", workspace};
    expected.insert(expected.end(), words.begin(), words.end());
    check(*application == expected);
  }
  if (const auto server = delivered(kel::serverCommand(installDir, scanned.passThrough))) {
    std::vector<std::string> expected = {installDir + "\\keltool", "-s", "SetPassword"};
    expected.insert(expected.end(), words.begin(), words.end());
    check(*server == expected);
  }
  if (const auto client = delivered(kel::toolClientCommand(installDir, arguments))) {
    std::vector<std::string> expected = {
        installDir + "\\eclipse\\jre\\bin\\java", "-jar",
        installDir + "\\eclipse\\plugins\\com.vum.kel.KELtoolClient\\keltoolClient.jar"};
    for (std::string& word : kel::test::wordsOf(arguments)) expected.push_back(std::move(word));
    check(*client == expected);
  }
  return 0;
}
