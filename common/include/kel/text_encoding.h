#pragma once
// Text encodings at the Java boundary, as plain functions.
//
// Java hands strings to native code, and takes them back from NewStringUTF,
// as "modified UTF-8": U+0000 is C0 80, and a character above U+FFFF is its
// two UTF-16 surrogates encoded as three bytes each; four-byte forms do not
// exist. A VM given anything else silently drops text, so whatever reaches
// NewStringUTF must be made here.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kel::text {

// The UTF-16 code units of a modified UTF-8 text; nullopt when the bytes are
// not modified UTF-8 (a raw zero byte, a four-byte form, an overlong form
// other than C0 80, a cut or stray sequence).
std::optional<std::u16string> decodeModifiedUtf8(std::string_view text);

// Modified UTF-8 of any UTF-16 code units, lone surrogates included.
std::string encodeModifiedUtf8(std::u16string_view text);

// The modified UTF-8 of a standard UTF-8 text: the same bytes, except that
// each four-byte character becomes its two surrogates and a zero byte becomes
// C0 80. Nullopt when the text is not UTF-8 (shortest forms only, no
// surrogates, nothing above U+10FFFF, no cut or stray sequence).
std::optional<std::string> utf8ToModifiedUtf8(std::string_view utf8);

// How many bytes at the end of `text` are the start of a UTF-8 character
// whose remaining bytes are missing (0 to 3), as when a limit cut the text
// inside a character.
std::size_t cutUtf8Tail(std::string_view text);

}  // namespace kel::text
