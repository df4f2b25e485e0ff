#pragma once
// Writing arguments so that the started program's C runtime splits its
// command line back into the same characters. Lines are built in UTF-16, so
// that backslashes and quotes are counted as characters, never as the second
// byte of a double-byte character.

#include <span>
#include <string>
#include <string_view>

namespace kel {

// A pass-through word is written bare, so an argument that holds spaces still
// arrives as several words. Only a literal double quote needs care: it is
// written as \" (with the backslashes before it doubled) so that it reaches
// the program as a quote instead of switching quoting on or off.
std::u16string bareArgument(std::u16string_view argument);

// The argument in double quotes, arriving as one argument exactly as given:
// backslashes before a quote, or before the closing quote, are doubled.
std::u16string quotedArgument(std::u16string_view argument);

// Appends one space and the bare form of each argument, in order, except
// that each word holding * or ? is quoted: a Java launcher expands such a
// word, unquoted, into the names of matching files.
void appendPassThrough(std::u16string& line, std::span<const std::u16string> arguments);

}  // namespace kel
