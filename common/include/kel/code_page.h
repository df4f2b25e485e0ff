#pragma once
// The ANSI code page, where the platform's A functions and the launchers'
// command lines keep their text, against UTF-16 and Java's modified UTF-8.
// Conversions are exact: a character the code page lacks is refused, never
// replaced by a look-alike ("best fit") or a default character.

#include <optional>
#include <string>
#include <string_view>

namespace kel::text {

// The text in the ANSI code page, character for character; nullopt when a
// character has no exact form there, or is U+0000 (which would end the text).
std::optional<std::string> toAnsi(std::u16string_view text);

// ANSI code page text as UTF-16. `cutAtEnd`: a byte limit cut the text, so a
// last double-byte character that lost its second byte is dropped whole.
std::u16string fromAnsi(std::string_view text, bool cutAtEnd = false);

// A Java string's modified UTF-8 for the A functions; nullopt when it is not
// modified UTF-8 or a character cannot pass exactly.
std::optional<std::string> javaToAnsi(std::string_view modifiedUtf8);

// Text from the A functions as modified UTF-8 for NewStringUTF.
std::string ansiToJava(std::string_view ansi);

}  // namespace kel::text
