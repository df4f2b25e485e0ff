#pragma once
// UTF-16 text as the platform's wide (W) functions take it and fill it in.

#include <string>
#include <string_view>

namespace kel {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wchar_t holds one UTF-16 unit");

// The characters of `text`; terminated when it views a whole std::u16string.
inline const wchar_t* wide(std::u16string_view text) { return reinterpret_cast<const wchar_t*>(text.data()); }

// The characters of `text`, for the platform to write.
inline wchar_t* wide(std::u16string& text) { return reinterpret_cast<wchar_t*>(text.data()); }

}  // namespace kel
