// Any arguments, passed through to the tool client, either arrive as exactly
// their words (through the models of cmd.exe and the C runtime) or are
// refused for a reason that holds.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cmd_model.h"
#include "crt_split_model.h"
#include "interpreter_line.h"
#include "keltool_command.h"

namespace {

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> arguments(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      arguments.emplace_back();
    } else {
      arguments.back() += static_cast<char>(data[i]);
    }
  }
  const std::string programLine = kel::toolClientCommand("C:\\KEL", arguments);
  const kel::InterpreterLine line = kel::prepareInterpreterLine(programLine);
  if (!line.refusal.empty()) {
    check(line.text.empty());
    check(programLine.find_first_of("\r\n") != std::string::npos ||
          programLine.size() > kel::kMaxInterpreterLine ||
          programLine.find_first_of("%&|<>^()") != std::string::npos);
    return 0;
  }
  check(line.text.size() <= kel::kMaxInterpreterLine);
  const kel::test::CmdOutcome cmd = kel::test::simulateCmd(line.text);
  check(cmd.fault.empty());
  check(cmd.programLine == programLine);
  const kel::test::CrtSplit split = kel::test::splitLikeCrt(programLine);
  check(split.fault.empty());
  std::vector<std::string> expected = {"C:\\KEL\\eclipse\\jre\\bin\\java", "-jar",
                                       "C:\\KEL\\eclipse\\plugins\\com.vum.kel.KELtoolClient\\keltoolClient.jar"};
  for (std::string& word : kel::test::wordsOf(arguments)) expected.push_back(std::move(word));
  check(split.arguments == expected);
  return 0;
}
