#pragma once
// A model of how the C runtime's start-up code splits a command line into
// arguments, and of the words a pass-through argument is expected to become.
// A line is characters (UTF-16): a C runtime reading it in a double-byte code
// page steps over the second byte of each character.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kel::test {

struct CrtSplit {
  std::vector<std::u16string> arguments;
  std::string fault;  // set for "" inside quotes, which C runtimes read differently
};

// Runs of spaces and tabs outside quotes separate arguments; a quote toggles
// quoting and starts an argument; 2n backslashes and a quote give n
// backslashes and a toggle, 2n+1 give n backslashes and a literal quote;
// other backslashes are literal.
CrtSplit splitLikeCrt(std::u16string_view commandLine);

// An argument passed through bare arrives as its space- or tab-separated words.
std::vector<std::u16string> wordsOf(std::span<const std::u16string> arguments);

}  // namespace kel::test
