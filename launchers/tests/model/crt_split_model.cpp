#include "crt_split_model.h"

namespace kel::test {

CrtSplit splitLikeCrt(std::u16string_view line) {
  CrtSplit split;
  std::u16string current;
  bool started = false;
  bool insideQuotes = false;
  std::size_t i = 0;
  while (i < line.size()) {
    const char16_t c = line[i];
    if (!insideQuotes && (c == u' ' || c == u'\t')) {
      if (started) split.arguments.push_back(std::move(current));
      current.clear();
      started = false;
      ++i;
      continue;
    }
    started = true;
    if (c == u'\\') {
      std::size_t run = 0;
      while (i < line.size() && line[i] == u'\\') ++run, ++i;
      if (i < line.size() && line[i] == u'"') {
        current.append(run / 2, u'\\');
        if (run % 2 == 1) {
          current += u'"';
          ++i;
        }
      } else {
        current.append(run, u'\\');
      }
      continue;
    }
    if (c == u'"') {
      if (insideQuotes && i + 1 < line.size() && line[i + 1] == u'"' && split.fault.empty()) {
        split.fault = "\"\" inside quotes";
      }
      insideQuotes = !insideQuotes;
      ++i;
      continue;
    }
    current += c;
    ++i;
  }
  if (started) split.arguments.push_back(std::move(current));
  return split;
}

std::vector<std::u16string> wordsOf(std::span<const std::u16string> arguments) {
  std::vector<std::u16string> words;
  for (const std::u16string& argument : arguments) {
    std::size_t i = 0;
    while (i < argument.size()) {
      const std::size_t start = argument.find_first_not_of(u" \t", i);
      if (start == std::u16string::npos) break;
      const std::size_t end = std::min(argument.find_first_of(u" \t", start), argument.size());
      words.push_back(argument.substr(start, end - start));
      i = end;
    }
  }
  return words;
}

}  // namespace kel::test
