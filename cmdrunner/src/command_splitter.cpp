#include "command_splitter.h"

namespace kel::cmdrunner {

std::vector<std::string_view> splitCommands(std::string_view commandLine) {
  std::vector<std::string_view> commands;
  std::size_t cursor = 0;
  while (true) {
    cursor = commandLine.find_first_not_of(" &", cursor);
    if (cursor == std::string_view::npos) return commands;
    const std::size_t separator = commandLine.find('&', cursor);
    if (separator == std::string_view::npos) {
      commands.push_back(commandLine.substr(cursor));
      return commands;
    }
    commands.push_back(commandLine.substr(cursor, separator - cursor));
    cursor = separator + 1;
  }
}

}  // namespace kel::cmdrunner
