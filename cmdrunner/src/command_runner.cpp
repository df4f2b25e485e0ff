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
#include "kel/text_encoding.h"

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
  // No command line can carry U+0000: it would end the text there.
  const std::optional<std::u16string> commandLine = text::decodeModifiedUtf8(javaCommandLine);
  if (!commandLine || commandLine->find(u'\0') != std::u16string::npos) {
    return earlyFailure(ERROR_NO_UNICODE_TRANSLATION);
  }
  // The blank and `&` are never part of another character's modified UTF-8,
  // so the Java text splits as its characters do.
  const std::vector<std::string_view> commands = splitCommands(javaCommandLine);
  if (commands.empty()) return formatResult({}, false, 0, std::nullopt);

  PipeReader pipe;
  if (const DWORD error = pipe.open()) return earlyFailure(error);
  std::optional<std::string> errorText;
  std::u16string commandText;
  const int code = runSequence(commands, [&](std::string_view command) {
    commandText = text::decodeModifiedUtf8(command).value();
    return runCommand(commandText, pipe, errorText);
  });
  if (!pipe.closeWriteEnd()) return earlyFailure(::GetLastError());
  const OutputAccumulator& output = pipe.output();
  return formatResult(capturedText(output.text(), output.partStarts(), output.overflowed(), &text::fromOem),
                      output.overflowed(), code, errorText);
}

}  // namespace kel::cmdrunner
