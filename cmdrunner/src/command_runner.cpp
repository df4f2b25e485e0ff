#include "command_runner.h"

#include <optional>

#include "captured_text.h"
#include "command_sequence.h"
#include "command_splitter.h"
#include "error_text.h"
#include "pipe_reader.h"
#include "result_text.h"
#include "run_command.h"
#include "kel/code_page.h"
#include "std_handle_redirection.h"

namespace kel::cmdrunner {

namespace {

// The reply for a platform call that failed before any output was read.
std::string earlyFailure(DWORD error) {
  int code = 0;
  std::optional<std::string> errorText;
  fetchErrorText(error, code, errorText);
  return makeResult(errorText, code);
}

}  // namespace

std::string runCommandLine(std::string_view javaCommandLine) {
  // Nothing runs with a command text other than the one given.
  const std::optional<std::string> commandLine = text::javaToAnsi(javaCommandLine);
  if (!commandLine) return earlyFailure(ERROR_NO_UNICODE_TRANSLATION);
  const std::vector<std::string_view> commands = splitCommands(*commandLine);
  if (commands.empty()) return formatResult({}, false, 0, std::nullopt);

  PipeReader pipe;
  if (const DWORD error = pipe.open()) return earlyFailure(error);
  std::optional<std::string> errorText;
  int code = 0;
  {
    StdHandleRedirection redirection;
    if (const DWORD error = redirection.begin(pipe.writeEnd())) return earlyFailure(error);
    std::string commandText;
    code = runSequence(commands, [&](std::string_view command) {
      commandText.assign(command);
      return runCommand(commandText, pipe, errorText);
    });
  }
  // The standard handles are set back before the write end they name is closed.
  if (!pipe.closeWriteEnd()) return earlyFailure(::GetLastError());
  const OutputAccumulator& output = pipe.output();
  return formatResult(capturedText(output.text(), output.overflowed(), &text::fromAnsi), output.overflowed(), code,
                      errorText);
}

}  // namespace kel::cmdrunner
