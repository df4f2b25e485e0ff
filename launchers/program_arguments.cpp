#include "program_arguments.h"

namespace kel {

std::u16string_view argumentsOf(std::u16string_view commandLine) {
  bool insideQuotes = false;
  std::size_t i = 0;
  for (; i < commandLine.size(); ++i) {
    const char16_t c = commandLine[i];
    if (c == u'"') insideQuotes = !insideQuotes;
    if (!insideQuotes && (c == u' ' || c == u'\t')) break;
  }
  const std::size_t start = commandLine.find_first_not_of(u" \t", i);
  return start == std::u16string_view::npos ? std::u16string_view() : commandLine.substr(start);
}

}  // namespace kel
