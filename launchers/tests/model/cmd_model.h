#pragma once
// A model of what cmd.exe /c does to a command line before it starts the
// program: the /c rule for a line that starts with a quote, % expansion (with
// every variable taken as defined, so any % left unprotected shows), then
// carets and quotes, and the command name it looks for. Lines that would run
// another command, redirect or open a block are reported as faults.

#include <string>
#include <string_view>

namespace kel::test {

struct CmdOutcome {
  std::string programLine;  // what the started program receives
  std::string programName;  // the program cmd.exe looks for, quotes removed
  std::string fault;        // empty when the line starts one program untouched
};

CmdOutcome simulateCmd(std::string_view line);

}  // namespace kel::test
