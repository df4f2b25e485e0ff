#pragma once
// One command run as a child process, its standard output and standard error
// on the call's pipe, and the system's text for a platform call that failed.

#include <windows.h>

#include <string>

#include "pipe.h"

namespace kel::cmdrunner {

struct CommandRun {
  int code = 0;     // the child's exit code taken as signed, or SYSTEM_FAILURE_CODE
  DWORD error = 0;  // the platform's error number when a platform call failed, else 0
};

// Starts `commandText` (UTF-16, so every character reaches the program; no
// command interpreter) with no standard input and the pipe's write end as its
// standard output and error, and reads the pipe until it has ended. The
// program is the text's first word: a name with a path in it is used as
// written; a bare name is found in the application's folder, the system
// folder, the Windows folder and then along PATH (with .exe added when it has
// no extension), never in the current directory, where a planted program
// would win. The child inherits the write end and no other handle. A command
// longer than the 32,766 characters Windows takes is refused with
// ERROR_FILENAME_EXCED_RANGE, as Windows refuses it.
CommandRun runCommand(std::u16string& commandText, Pipe& pipe);

// The system's own text for an error number, as modified UTF-8; "System error
// N" and a line end when the system has none.
std::string systemText(DWORD error);

}  // namespace kel::cmdrunner
