#pragma once
// A model of how a Java launcher for Windows splits its command line: close
// to the C runtime's rules, but a quote right after a quote outside quotes is
// a literal one (so \"" gives one more quote than the C runtime gives), and
// an argument holding * or ? outside quotes is marked for wildcard expansion
// into file names. A line is characters (UTF-16): the launcher steps through
// a double-byte code page by character.

#include <string>
#include <string_view>
#include <vector>

namespace kel::test {

struct JavaSplit {
  std::vector<std::u16string> arguments;
  std::vector<bool> wildcard;  // per argument: the launcher would expand it
};

JavaSplit splitLikeJava(std::u16string_view commandLine);

}  // namespace kel::test
