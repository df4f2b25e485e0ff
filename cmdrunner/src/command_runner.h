#pragma once
// The work behind getSTDOUT: run the commands of a command line with their
// output captured, and build the result text.

#include <string>
#include <string_view>

namespace kel::cmdrunner {

// `commandLine` holds commands joined by `&`. Answers their output, the
// system's text when a platform call failed, and the last line with the code.
std::string runCommandLine(std::string_view commandLine);

}  // namespace kel::cmdrunner
