#include "result.h"

#include <algorithm>
#include <cstring>

namespace kel::cmdrunner {

std::vector<std::u16string_view> splitCommands(std::u16string_view commandLine) {
  std::vector<std::u16string_view> commands;
  std::size_t cursor = 0;
  while (true) {
    cursor = commandLine.find_first_not_of(u" &", cursor);
    if (cursor == std::u16string_view::npos) return commands;
    const std::size_t separator = commandLine.find(u'&', cursor);
    if (separator == std::u16string_view::npos) {
      commands.push_back(commandLine.substr(cursor));
      return commands;
    }
    commands.push_back(commandLine.substr(cursor, separator - cursor));
    cursor = separator + 1;
  }
}

OutputAccumulator::OutputAccumulator() { text_.reserve(OUTPUT_LIMIT); }

void OutputAccumulator::beginPart() {
  // Once the text is full nothing more is kept, and the part the limit cut stays the last.
  if (text_.size() < OUTPUT_LIMIT && partStarts_.back() != text_.size()) partStarts_.push_back(text_.size());
}

void OutputAccumulator::append(const char* bytes, std::size_t count) noexcept {
  const char* const end = bytes + count;
  while (bytes != end) {
    const void* zero = std::memchr(bytes, 0, static_cast<std::size_t>(end - bytes));
    const char* runEnd = zero ? static_cast<const char*>(zero) : end;
    const std::size_t run = static_cast<std::size_t>(runEnd - bytes);
    const std::size_t room = OUTPUT_LIMIT - text_.size();
    if (run > room) overflowed_ = true;
    text_.append(bytes, std::min(run, room));
    bytes = zero ? runEnd + 1 : end;
  }
}

std::string formatResult(std::string_view captured, bool overflowed, int code,
                         const std::optional<std::string>& systemText) {
  const bool failed = code == SYSTEM_FAILURE_CODE && systemText;
  if (overflowed && !failed) code = OUTPUT_OVERFLOW_CODE;
  std::string result(captured);
  if (failed) result += *systemText;
  result += "\nThe highest return code is ";
  result += std::to_string(code);
  return result;
}

}  // namespace kel::cmdrunner
