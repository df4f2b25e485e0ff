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
std::string escapeForCmd(std::string_view line);

}  // namespace kel
