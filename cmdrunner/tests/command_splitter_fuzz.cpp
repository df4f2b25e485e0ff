// Every command is a non-empty piece of the line that starts with neither a
// blank nor `&` and holds no `&`; together with the skipped separators they
// give back the whole line.
#include "result.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Each byte one UTF-16 unit, so that the blank and `&` come often enough.
  const std::u16string text(data, data + size);
  const std::u16string_view line(text);
  std::size_t covered = 0;
  for (const std::u16string_view command : kel::cmdrunner::splitCommands(line)) {
    const std::size_t start = static_cast<std::size_t>(command.data() - line.data());
    if (command.empty() || start < covered || start + command.size() > line.size()) std::abort();
    if (command.front() == u' ' || command.find(u'&') != std::u16string_view::npos) std::abort();
    if (line.substr(covered, start - covered).find_first_not_of(u" &") != std::u16string_view::npos) std::abort();
    covered = start + command.size();
    if (covered < line.size() && line[covered] != u'&') std::abort();
  }
  if (line.substr(covered).find_first_not_of(u" &") != std::u16string_view::npos) std::abort();
  return 0;
}
