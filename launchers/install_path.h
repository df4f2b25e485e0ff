#pragma once
// Paths made from the install directory, as both launchers write them into
// their command lines.

#include <string>
#include <string_view>

namespace kel {

// Whether the install directory holds a character that would split a path
// made from it: blanks and tabs for the started program's C runtime, and what
// cmd.exe reads as a delimiter or an operator in a command name (; , = ( ) &
// | < > ^, vertical tab, form feed, and U+00FF and the no-break space, which
// are the byte 0xFF in the ANSI and the OEM code pages) or expands (%). The
// short form of a name never holds a blank, but a volume without 8.3 names
// gives none.
bool installDirNeedsQuotes(std::u16string_view installDir);

// The install directory followed by `piece` (which begins with a backslash),
// in double quotes when the install directory needs them and bare otherwise,
// so that ordinary install directories give the lines they always gave.
std::u16string installPath(std::u16string_view installDir, std::u16string_view piece);

}  // namespace kel
