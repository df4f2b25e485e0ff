// Every command is a non-empty piece of the line that starts with neither a
// blank nor `&` and holds no `&`; together with the skipped separators they
// give back the whole line.
#include "command_splitter.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  std::size_t covered = 0;
  for (std::string_view command : kel::cmdrunner::splitCommands(line)) {
    const std::size_t start = static_cast<std::size_t>(command.data() - line.data());
    if (command.empty() || start < covered || start + command.size() > line.size()) std::abort();
    if (command.front() == ' ' || command.find('&') != std::string_view::npos) std::abort();
    if (line.substr(covered, start - covered).find_first_not_of(" &") != std::string_view::npos) std::abort();
    covered = start + command.size();
    if (covered < line.size() && line[covered] != '&') std::abort();
  }
  if (line.substr(covered).find_first_not_of(" &") != std::string_view::npos) std::abort();
  return 0;
}
