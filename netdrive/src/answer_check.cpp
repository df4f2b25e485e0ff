#include "answer_check.h"

#include <cstdint>

namespace orvandel {

std::optional<std::u16string_view> textIn(const void* buffer, std::size_t size, const void* text) {
  const auto start = reinterpret_cast<std::uintptr_t>(buffer);
  const auto at = reinterpret_cast<std::uintptr_t>(text);
  if (at < start || at >= start + size || at % alignof(char16_t) != 0) return std::nullopt;
  const std::u16string_view room(static_cast<const char16_t*>(text), (start + size - at) / sizeof(char16_t));
  return room.substr(0, room.find(u'\0'));
}

bool textLiesIn(const void* buffer, std::size_t size, const void* text) {
  if (!text) return true;
  const std::optional<std::u16string_view> found = textIn(buffer, size, text);
  return found && reinterpret_cast<std::uintptr_t>(found->data() + found->size() + 1) <=
                      reinterpret_cast<std::uintptr_t>(buffer) + size;
}

}  // namespace orvandel
