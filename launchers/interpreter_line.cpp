#include "interpreter_line.h"

#include "cmd_escape.h"

namespace kel {

InterpreterLine prepareInterpreterLine(std::string_view programLine) {
  if (programLine.find_first_of("\r\n") != std::string_view::npos) {
    return {"", "The command line holds a line break, which the command interpreter cannot pass on; "
                "nothing was started."};
  }
  std::string escaped = escapeForCmd(programLine);
  if (escaped.size() > kMaxInterpreterLine) {
    return {"", "The command line is too long for the command interpreter (" +
                    std::to_string(escaped.size()) + " characters, at most " +
                    std::to_string(kMaxInterpreterLine) + "); nothing was started."};
  }
  return {std::move(escaped), ""};
}

}  // namespace kel
