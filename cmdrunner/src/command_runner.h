#pragma once
// The work behind getSTDOUT: run the commands of a command line with their
// output captured, and build the result text.

#include <string>
#include <string_view>

namespace kel::cmdrunner {

// `javaCommandLine` holds commands joined by `&`, in modified UTF-8. Answers,
// in modified UTF-8, their output, the system's text when a platform call
// failed, and the last line with the code. A command line holding U+0000, or
// that is no modified UTF-8, runs nothing and answers the system's text for
// ERROR_NO_UNICODE_TRANSLATION with 97.
std::string runCommandLine(std::string_view javaCommandLine);

}  // namespace kel::cmdrunner
