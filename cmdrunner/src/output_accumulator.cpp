#include "output_accumulator.h"

#include <algorithm>
#include <cstring>

namespace kel::cmdrunner {

OutputAccumulator::OutputAccumulator() { text_.reserve(limit); }

void OutputAccumulator::beginPart() {
  // Once the text is full nothing more is kept, and the part the limit cut stays the last.
  if (text_.size() < limit && partStarts_.back() != text_.size()) partStarts_.push_back(text_.size());
}

void OutputAccumulator::append(const char* bytes, std::size_t count) noexcept {
  const char* const end = bytes + count;
  while (bytes != end) {
    const void* zero = std::memchr(bytes, 0, static_cast<std::size_t>(end - bytes));
    const char* runEnd = zero ? static_cast<const char*>(zero) : end;
    const std::size_t run = static_cast<std::size_t>(runEnd - bytes);
    const std::size_t room = limit - text_.size();
    if (run > room) overflowed_ = true;
    text_.append(bytes, std::min(run, room));
    bytes = zero ? runEnd + 1 : end;
  }
}

}  // namespace kel::cmdrunner
