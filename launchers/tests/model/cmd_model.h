#pragma once
// A model of what cmd.exe /s /c does to a command line before it starts the
// program: the /s rule for a line that starts with a quote, % expansion (with
// every variable taken as defined, so any % left unprotected shows), then
// carets and quotes, and the command name it looks for. Lines that would run
// another command, redirect or open a block are reported as faults. A line is
// characters (UTF-16), as cmd.exe reads it, never the bytes of a code page.

#include <string>
#include <string_view>

namespace kel::test {

struct CmdOutcome {
  std::u16string programLine;  // what the started program receives
  std::u16string programName;  // the program cmd.exe looks for, quotes removed
  std::string fault;           // empty when the line starts one program untouched
};

CmdOutcome simulateCmd(std::u16string_view line);

}  // namespace kel::test
