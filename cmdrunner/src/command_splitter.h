#pragma once
// Cuts a command line into the commands it holds. Only the blank and `&`
// matter: `&` separates commands wherever it stands (quotes do not protect
// it), blanks and `&` before a command are skipped, and everything else,
// tabs and blanks before a `&` included, belongs to the command.

#include <string_view>
#include <vector>

namespace kel::cmdrunner {

// The commands in order; each is a view into `commandLine` and is never empty.
std::vector<std::string_view> splitCommands(std::string_view commandLine);

}  // namespace kel::cmdrunner
