#pragma once
// What the user typed, against the ANSI code page in which the launchers
// write the command lines they run, and in which the Java runtime reads its
// arguments. Windows would put a look-alike or "?" where the code page lacks
// a character, so a password typed in another script would be set as
// something else.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kel {

// Exit code of a launcher that refused what the user typed.
inline constexpr int kCharacterRefused = -94;

// The program's arguments (without its name) as Windows gives them, in UTF-16.
std::vector<std::u16string> wideArguments(int argc, wchar_t** argv);

// Whether every character of the arguments has its exact form in the code page.
bool inCodePage(std::span<const std::u16string> arguments);

// The length of a piece in the code page, as the workspace scan has always
// counted it (a double-byte character counts two); the number of characters
// of a piece the code page cannot carry.
std::size_t lengthInCodePage(std::u16string_view piece);

// A path the code page carries: as it stands when it fits exactly, else its
// short (8.3) form when that does; nullopt when neither does.
std::optional<std::u16string> pathInCodePage(const std::u16string& path);

// The one line saying that `what` ("An argument", "Environment variable
// KELHOME") holds a character the code page cannot pass on.
std::string notInCodePageMessage(std::string_view what);

// Prints that line for an argument and answers kCharacterRefused.
int refuseArgument();

}  // namespace kel
