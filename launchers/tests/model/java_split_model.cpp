#include "java_split_model.h"

namespace kel::test {

JavaSplit splitLikeJava(std::u16string_view line) {
  JavaSplit split;
  std::size_t i = 0;
  while (i < line.size()) {
    std::u16string argument;
    bool wildcard = false;
    bool separated = false;  // blanks after the argument: the next character starts another
    bool inside = false;
    std::size_t backslashes = 0;
    char16_t previous = 0;
    for (; i < line.size(); ++i) {
      const char16_t c = line[i];
      const bool blank = c == u' ' || c == u'\t';
      if (separated && !blank) break;
      if (c == u'\\') {
        ++backslashes;
      } else {
        argument.append(c == u'"' ? backslashes / 2 : backslashes, u'\\');
        if (c == u'"' && backslashes % 2 == 1) {
          argument += c;
        } else if (c == u'"' && previous == u'"' && !inside && backslashes == 0) {
          argument += c;
          inside = true;
        } else if (c == u'"') {
          inside = !inside;
        } else if (blank && !inside) {
          separated = true;
        } else {
          if ((c == u'*' || c == u'?') && !inside) wildcard = true;
          argument += c;
        }
        backslashes = 0;
      }
      previous = c;
    }
    argument.append(backslashes, u'\\');
    split.arguments.push_back(std::move(argument));
    split.wildcard.push_back(wildcard);
  }
  return split;
}

}  // namespace kel::test
