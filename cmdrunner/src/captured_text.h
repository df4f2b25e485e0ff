#pragma once
// What the commands wrote, as text for NewStringUTF.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kel::cmdrunner {

// Turns text in a code page into UTF-16; `cutAtEnd` says a byte limit may
// have cut its last character.
using CodePageDecoder = std::u16string (*)(std::string_view text, bool cutAtEnd);

// The captured bytes as modified UTF-8, each command's part (`partStarts`,
// the first at 0) decided on its own, as a console window would show it:
// UTF-8 when the part is UTF-8 (modern tools write it), else through
// `fromConsoleCodePage` (cmd.exe and the system's console tools write the
// console's code page into a pipe). One command's stray byte so garbles no
// other command's text. `cut`: the byte limit cut the last part, so a
// character it cut in two at its end is dropped whole.
std::string capturedText(std::string_view captured, const std::vector<std::size_t>& partStarts, bool cut,
                         CodePageDecoder fromConsoleCodePage);

}  // namespace kel::cmdrunner
