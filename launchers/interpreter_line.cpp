#include "interpreter_line.h"

#include "cmd_escape.h"

namespace kel {

InterpreterLine prepareInterpreterLine(std::u16string_view programLine) {
  if (programLine.find_first_of(u"\r\n") != std::u16string_view::npos) {
    return {u"", "The command line holds a line break, which the command interpreter cannot pass on; "
                 "nothing was started."};
  }
  // cmd.exe /s /c drops the first and the last quote of the line before it
  // reads carets and quotes, so the line inside is escaped as if it stood alone.
  const std::u16string wrapped = u'"' + escapeForCmd(programLine) + u'"';
  if (wrapped.size() > kMaxInterpreterLine) {
    return {u"", "The command line is too long for the command interpreter (" + std::to_string(wrapped.size()) +
                     " characters, at most " + std::to_string(kMaxInterpreterLine) + "); nothing was started."};
  }
  return {wrapped, ""};
}

}  // namespace kel
