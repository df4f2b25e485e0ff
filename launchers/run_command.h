#pragma once
// Running a command line through the command interpreter.

#include <string_view>

namespace kel {

// Runs `programLine` through the C runtime's system() (cmd.exe /c), escaped so
// that the program receives exactly `programLine`, and waits for it. Returns
// the interpreter's exit code, or kCommandRefused after printing a one-line
// reason when the line cannot be carried intact; then nothing is started.
int runThroughInterpreter(std::string_view programLine);

}  // namespace kel
