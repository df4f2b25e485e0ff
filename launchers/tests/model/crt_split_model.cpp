#include "crt_split_model.h"

namespace kel::test {

CrtSplit splitLikeCrt(std::string_view line) {
  CrtSplit split;
  std::string current;
  bool started = false;
  bool insideQuotes = false;
  std::size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (!insideQuotes && (c == ' ' || c == '\t')) {
      if (started) split.arguments.push_back(std::move(current));
      current.clear();
      started = false;
      ++i;
      continue;
    }
    started = true;
    if (c == '\\') {
      std::size_t run = 0;
      while (i < line.size() && line[i] == '\\') ++run, ++i;
      if (i < line.size() && line[i] == '"') {
        current.append(run / 2, '\\');
        if (run % 2 == 1) {
          current += '"';
          ++i;
        }
      } else {
        current.append(run, '\\');
      }
      continue;
    }
    if (c == '"') {
      if (insideQuotes && i + 1 < line.size() && line[i + 1] == '"' && split.fault.empty()) {
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

std::vector<std::string> wordsOf(std::span<const std::string> arguments) {
  std::vector<std::string> words;
  for (const std::string& argument : arguments) {
    std::size_t i = 0;
    while (i < argument.size()) {
      const std::size_t start = argument.find_first_not_of(" \t", i);
      if (start == std::string::npos) break;
      const std::size_t end = std::min(argument.find_first_of(" \t", start), argument.size());
      words.push_back(argument.substr(start, end - start));
      i = end;
    }
  }
  return words;
}

}  // namespace kel::test
