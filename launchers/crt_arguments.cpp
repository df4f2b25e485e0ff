#include "crt_arguments.h"

namespace kel {
namespace {

// Writes `argument`, turning each quote into \" and doubling the backslashes
// before it; `closingQuote` also doubles the backslashes at the end, which
// would otherwise escape a quote written after them.
void appendEncoded(std::string& out, std::string_view argument, bool closingQuote) {
  std::size_t backslashes = 0;
  for (const char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') {
      out.append(2 * backslashes + 1, '\\');
    } else {
      out.append(backslashes, '\\');
    }
    backslashes = 0;
    out += c;
  }
  out.append(closingQuote ? 2 * backslashes : backslashes, '\\');
}

}  // namespace

std::string bareArgument(std::string_view argument) {
  std::string out;
  appendEncoded(out, argument, false);
  return out;
}

std::string quotedArgument(std::string_view argument) {
  std::string out = "\"";
  appendEncoded(out, argument, true);
  out += '"';
  return out;
}

void appendPassThrough(std::string& line, std::span<const std::string> arguments) {
  for (const std::string& argument : arguments) {
    line += ' ';
    appendEncoded(line, argument, false);
  }
}

}  // namespace kel
