#pragma once
// The texts a provider answers, read only where they lie in the buffer it
// was given: the platform's word is all the library has to go on. Built and
// tested on every preset.

#include <cstddef>
#include <optional>
#include <string_view>

namespace orvandel {

// The UTF-16 text at `text`, up to its terminator or to the end of the `size`
// bytes at `buffer`, whichever comes first; nullopt when it does not start
// inside them, aligned for its characters.
std::optional<std::u16string_view> textIn(const void* buffer, std::size_t size, const void* text);

// Null (an absent field), or a text that lies in the buffer, its terminator too.
bool textLiesIn(const void* buffer, std::size_t size, const void* text);

}  // namespace orvandel
