#pragma once
// The part of a program's command line that holds its arguments.

#include <string_view>

namespace kel {

// `commandLine` without the program name at its start, split off as the C
// runtime splits it (a quote switches quoting; a blank or tab outside quotes
// ends the name), and without the blanks and tabs after it.
std::u16string_view argumentsOf(std::u16string_view commandLine);

}  // namespace kel
