#pragma once
// The ANSI code page, where the launchers' command lines and older programs'
// output keep their text, and the OEM one, which console programs write into
// pipes, against UTF-16.
// Conversions are exact: a character the code page lacks is refused, never
// replaced by a look-alike ("best fit") or a default character.

#include <optional>
#include <string>
#include <string_view>

namespace kel::text {

// The text in the ANSI code page, character for character; nullopt when a
// character has no exact form there, or is U+0000 (which would end the text).
std::optional<std::string> toAnsi(std::u16string_view text);

// OEM code page (GetOEMCP) text, a console's own, as UTF-16. `cutAtEnd`: a
// byte limit cut the text, so a last double-byte character that lost its
// second byte is dropped whole.
std::u16string fromOem(std::string_view text, bool cutAtEnd = false);

}  // namespace kel::text
