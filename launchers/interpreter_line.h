#pragma once
// Turning a program's command line into the text handed to the command
// interpreter, or refusing it when the interpreter could not carry it intact.

#include <cstddef>
#include <string>
#include <string_view>

namespace kel {

// The longest line cmd.exe accepts; a longer one would be cut.
inline constexpr std::size_t kMaxInterpreterLine = 8191;

// Exit code of a launcher that refused to run a command line; distinct from
// -96 and -1 (KELHOME not set) and from -99 (tool server not running).
inline constexpr int kCommandRefused = -95;

struct InterpreterLine {
  std::string text;     // for the interpreter; empty when refused
  std::string refusal;  // one-line reason; empty when the line can run
};

// Escapes `programLine` for cmd.exe and checks the result; a line that starts
// with a quote (a quoted program path) is wrapped in one more pair of quotes,
// which cmd.exe /c removes before reading the line. Refused: a line longer
// than kMaxInterpreterLine once escaped and wrapped, and a line holding a
// carriage return or line feed (cmd.exe ends the command there and drops the
// rest).
InterpreterLine prepareInterpreterLine(std::string_view programLine);

}  // namespace kel
