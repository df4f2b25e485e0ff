#pragma once
// Text for cmd.exe /c that the interpreter turns back into exactly the given
// command line before it starts the program.

#include <string>
#include <string_view>

namespace kel {

// Outside double quotes every character cmd.exe acts on (& | < > ^ ( )) gets
// a caret; inside them carets would stay in the text, so none is added there.
// Every % becomes %%cd:~,% (a literal % followed by an empty substring of
// %cd%), since a caret cannot stop % expansion, inside quotes or out.
// The line is UTF-16, as cmd.exe reads it: in a double-byte code page the
// second byte of a character can be \ ^ or |, which a scan of bytes would
// take for one of these.
std::u16string escapeForCmd(std::u16string_view line);

}  // namespace kel
