#pragma once
// Runs the commands of a command line one after the other.

#include <functional>
#include <string_view>
#include <vector>

namespace kel::cmdrunner {

// Runs each command in turn and stops after the first one whose code is not 0.
// Answers the code of the last command that ran, or 0 when there was none.
int runSequence(const std::vector<std::string_view>& commands,
                const std::function<int(std::string_view command)>& run);

}  // namespace kel::cmdrunner
