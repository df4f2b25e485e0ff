#include "command_sequence.h"

namespace kel::cmdrunner {

int runSequence(const std::vector<std::string_view>& commands,
                const std::function<int(std::string_view command)>& run) {
  int code = 0;
  for (std::string_view command : commands) {
    code = run(command);
    if (code != 0) break;
  }
  return code;
}

}  // namespace kel::cmdrunner
