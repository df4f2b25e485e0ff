#pragma once
// Asking the platform for a name of unknown length.

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace orvandel {

inline constexpr std::uint32_t noError = 0;
inline constexpr std::uint32_t errorMoreData = 234;  // ERROR_MORE_DATA

// Runs query(buffer, &size) with a buffer of initialSize bytes. When the
// platform answers that the buffer is too small and names a larger size, asks
// exactly once more with that much room, so a long name comes back whole
// rather than not at all. Returns the platform's last answer; on noError the
// buffer holds what the platform wrote.
template <typename Query>
std::uint32_t querySized(std::vector<char>& buffer, std::uint32_t initialSize, Query&& query) {
  std::uint32_t size = initialSize;
  buffer.assign(size, '\0');
  const std::uint32_t result = query(buffer.data(), &size);
  if (result != errorMoreData || size <= buffer.size()) return result;
  buffer.assign(size, '\0');
  return query(buffer.data(), &size);
}

// The zero-terminated text at the start of text, never read past the end of
// the buffer even if the platform left no terminator.
inline std::string terminatedText(const char* text, std::size_t room) {
  const void* end = std::memchr(text, '\0', room);
  return std::string(text, end ? static_cast<const char*>(end) - text : room);
}

}  // namespace orvandel
