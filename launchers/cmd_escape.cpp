#include "cmd_escape.h"

namespace kel {
namespace {

bool isCmdOperator(char16_t c) {
  switch (c) {
    case u'&': case u'|': case u'<': case u'>': case u'^': case u'(': case u')':
      return true;
    default:
      return false;
  }
}

}  // namespace

std::u16string escapeForCmd(std::u16string_view line) {
  std::u16string escaped;
  escaped.reserve(line.size() + line.size() / 4);
  bool insideQuotes = false;
  for (const char16_t c : line) {
    if (c == u'%') {
      escaped += u"%%cd:~,%";
      continue;
    }
    // cmd.exe toggles on every quote; it knows nothing of backslashes.
    if (c == u'"') insideQuotes = !insideQuotes;
    if (!insideQuotes && isCmdOperator(c)) escaped += u'^';
    escaped += c;
  }
  return escaped;
}

}  // namespace kel
