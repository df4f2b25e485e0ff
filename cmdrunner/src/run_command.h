#pragma once
// Runs one command as a child process, its standard output and standard
// error on a handle of the caller's.

#include <optional>
#include <string>

#include "pipe_reader.h"

namespace kel::cmdrunner {

// Starts `commandText` (program and arguments, no command interpreter; UTF-16,
// so every character reaches the program) with no standard input and the
// pipe's write end as its standard output and error, and reads the pipe until
// it has ended. Answers its exit code taken as signed, or 97 with the
// system's text in `errorText` when a platform call failed; a command text
// longer than the 32,766 characters Windows takes is refused with the
// system's text for ERROR_FILENAME_EXCED_RANGE, as Windows refuses it. The
// child inherits the write end and no other handle.
int runCommand(std::u16string& commandText, PipeReader& pipe, std::optional<std::string>& errorText);

}  // namespace kel::cmdrunner
