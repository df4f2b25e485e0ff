#include "crt_arguments.h"

#include <algorithm>

namespace kel {
namespace {

// Writes `argument`, turning each quote into \" and doubling the backslashes
// before it; `closingQuote` also doubles the backslashes at the end, which
// would otherwise escape a quote written after them.
void appendEncoded(std::u16string& out, std::u16string_view argument, bool closingQuote) {
  std::size_t backslashes = 0;
  for (const char16_t c : argument) {
    if (c == u'\\') {
      ++backslashes;
      continue;
    }
    if (c == u'"') {
      out.append(2 * backslashes + 1, u'\\');
    } else {
      out.append(backslashes, u'\\');
    }
    backslashes = 0;
    out += c;
  }
  out.append(closingQuote ? 2 * backslashes : backslashes, u'\\');
}

}  // namespace

std::u16string bareArgument(std::u16string_view argument) {
  std::u16string out;
  appendEncoded(out, argument, false);
  return out;
}

std::u16string quotedArgument(std::u16string_view argument) {
  std::u16string out = u"\"";
  appendEncoded(out, argument, true);
  out += u'"';
  return out;
}

void appendPassThrough(std::u16string& line, std::span<const std::u16string> arguments) {
  for (const std::u16string& argument : arguments) {
    line += u' ';
    // Word by word, so that a word holding * or ? can go in quotes (a Java
    // launcher would expand it into file names) while the blanks between
    // words still split them.
    std::size_t at = 0;
    while (at < argument.size()) {
      const std::size_t end = std::min(argument.find_first_of(u" \t", at), argument.size());
      const std::u16string_view word = std::u16string_view(argument).substr(at, end - at);
      if (word.find_first_of(u"*?") != std::u16string_view::npos) {
        line += quotedArgument(word);
      } else {
        appendEncoded(line, word, false);
      }
      const std::size_t next = std::min(argument.find_first_not_of(u" \t", end), argument.size());
      line.append(argument, end, next - end);
      at = next;
    }
  }
}

}  // namespace kel
