#pragma once
// Turning a program's command line into the text handed to the command
// interpreter, or refusing it when the interpreter could not carry it intact.

#include <cstddef>
#include <string>
#include <string_view>

namespace kel {

// The longest line cmd.exe accepts, in UTF-16 units (what it counts); a
// longer one would be cut.
inline constexpr std::size_t kMaxInterpreterLine = 8191;

// Exit code of a launcher that refused to run a command line; distinct from
// -96 and -1 (KELHOME not set) and from -99 (tool server not running).
inline constexpr int kCommandRefused = -95;

// What cmd.exe is started with before the line: no AutoRun command (/d), no
// delayed expansion (/v:off, which would eat !x!), extensions on (/e:on),
// whatever the registry says; /s: the first and the last quote of the line
// are removed and nothing else.
inline constexpr std::u16string_view kInterpreterSwitches = u"/d /v:off /e:on /s /c ";

struct InterpreterLine {
  std::u16string text;  // for the interpreter after its switches; empty when refused
  std::string refusal;  // one-line reason; empty when the line can run
};

// Escapes `programLine` for cmd.exe and wraps it in one more pair of quotes,
// which cmd.exe /s /c removes before reading the line. Refused: a line longer
// than kMaxInterpreterLine once escaped and wrapped, and a line holding a
// carriage return or line feed (cmd.exe ends the command there and drops the
// rest).
InterpreterLine prepareInterpreterLine(std::u16string_view programLine);

}  // namespace kel
