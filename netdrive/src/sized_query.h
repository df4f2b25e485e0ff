#pragma once
// Asking the platform for a name of unknown length.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvandel {

inline constexpr std::uint32_t noError = 0;
inline constexpr std::uint32_t errorMoreData = 234;  // ERROR_MORE_DATA

// Runs query(buffer, &size) with a buffer of initialSize units (bytes, or
// characters: whatever the platform function counts in). When the platform
// answers that the buffer is too small and names a larger size, asks exactly
// once more with that much room, so a long name comes back whole rather than
// not at all. Returns the platform's last answer; on noError the buffer holds
// what the platform wrote.
template <typename Unit, typename Query>
std::uint32_t querySized(std::vector<Unit>& buffer, std::uint32_t initialSize, Query&& query) {
  std::uint32_t size = initialSize;
  buffer.assign(size, Unit{});
  const std::uint32_t result = query(buffer.data(), &size);
  if (result != errorMoreData || size <= buffer.size()) return result;
  buffer.assign(size, Unit{});
  return query(buffer.data(), &size);
}

// The zero-terminated text at the start of text, never read past the end of
// the buffer (room units) even if the platform left no terminator.
template <typename Unit>
std::basic_string<Unit> terminatedText(const Unit* text, std::size_t room) {
  const std::basic_string_view<Unit> all(text, room);
  return std::basic_string<Unit>(all.substr(0, all.find(Unit{})));
}

}  // namespace orvandel
