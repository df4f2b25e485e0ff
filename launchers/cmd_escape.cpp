#include "cmd_escape.h"

namespace kel {
namespace {

bool isCmdOperator(char c) {
  switch (c) {
    case '&': case '|': case '<': case '>': case '^': case '(': case ')':
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string escapeForCmd(std::string_view line) {
  std::string escaped;
  escaped.reserve(line.size() + line.size() / 4);
  bool insideQuotes = false;
  for (const char c : line) {
    if (c == '%') {
      escaped += "%%cd:~,%";
      continue;
    }
    // cmd.exe toggles on every quote; it knows nothing of backslashes.
    if (c == '"') insideQuotes = !insideQuotes;
    if (!insideQuotes && isCmdOperator(c)) escaped += '^';
    escaped += c;
  }
  return escaped;
}

}  // namespace kel
