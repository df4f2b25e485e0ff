#pragma once
// What the commands wrote, as text for NewStringUTF.

#include <string>
#include <string_view>

namespace kel::cmdrunner {

// Turns text in the ANSI code page into UTF-16; `cutAtEnd` says a byte limit
// may have cut its last character.
using AnsiDecoder = std::u16string (*)(std::string_view text, bool cutAtEnd);

// The captured bytes as modified UTF-8. Children write in whatever encoding
// they like (modern tools UTF-8, older ones the ANSI code page): the text is
// read as UTF-8 when all of it is UTF-8, a character that the limit cut in
// two at its end dropped whole, and through `fromAnsi` otherwise.
std::string capturedText(std::string_view captured, bool cut, AnsiDecoder fromAnsi);

}  // namespace kel::cmdrunner
