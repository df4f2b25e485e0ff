#pragma once
// Running a command line through the command interpreter.

#include <string_view>

namespace kel {

// Runs `programLine` through cmd.exe (ComSpec; when that is unset or names
// nothing that starts, the system folder's cmd.exe), escaped so that the
// program receives exactly `programLine`, and waits for it. Returns the
// interpreter's exit code; -1 when no interpreter starts, or, after one line
// saying so, when it ran but its exit code cannot be read (it is never run a
// second time); or COMMAND_REFUSED_CODE (CHARACTER_REFUSED_CODE) after printing a
// one-line reason when the line cannot be carried intact (or exactly in the
// ANSI code page); then nothing is started.
int runThroughInterpreter(std::u16string_view programLine);

}  // namespace kel
