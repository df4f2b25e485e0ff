#include "interpreter_line.h"

#include "cmd_escape.h"

namespace kel {

InterpreterLine prepareInterpreterLine(std::string_view programLine) {
  if (programLine.find_first_of("\r\n") != std::string_view::npos) {
    return {"", "The command line holds a line break, which the command interpreter cannot pass on; "
                "nothing was started."};
  }
  std::string escaped = escapeForCmd(programLine);
  // cmd.exe /c drops the first and the last quote of a line that starts with
  // one, before it reads carets and quotes (with just two quotes it may keep
  // them, depending on what they enclose); so such a line gets one more pair.
  if (programLine.starts_with('"')) escaped = '"' + escaped + '"';
  if (escaped.size() > kMaxInterpreterLine) {
    return {"", "The command line is too long for the command interpreter (" +
                    std::to_string(escaped.size()) + " characters, at most " +
                    std::to_string(kMaxInterpreterLine) + "); nothing was started."};
  }
  return {std::move(escaped), ""};
}

}  // namespace kel
