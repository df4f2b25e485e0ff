#include "cmd_model.h"

namespace kel::test {
namespace {

// For fault texts; characters beyond ASCII as '?'.
std::string narrow(std::u16string_view text) {
  std::string out;
  for (const char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

// Command-line (not batch) rules: %name% is replaced by the variable; "%%"
// has an empty name, so the first % stays and the scan goes on at the second.
// %cd:~,% is an empty substring of the current directory.
std::u16string expandPercents(std::u16string_view line, std::string& fault) {
  std::u16string out;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] != u'%') {
      out += line[i++];
      continue;
    }
    const std::size_t close = line.find(u'%', i + 1);
    if (close == std::u16string_view::npos) {
      out += line.substr(i);
      break;
    }
    const std::u16string_view name = line.substr(i + 1, close - i - 1);
    if (name.empty()) {
      out += u'%';
      i = close;
      continue;
    }
    if (name != u"cd:~,") {
      fault = "expanded %" + narrow(name) + "%";
      out += u"<value of " + std::u16string(name) + u">";
    }
    i = close + 1;
  }
  return out;
}

bool isOperator(char16_t c) {
  return c == u'&' || c == u'|' || c == u'<' || c == u'>' || c == u'(' || c == u')';
}

// What ends a command name outside quotes. Taken to end it even after a caret,
// which is not known to keep it in the name.
bool isNameDelimiter(char16_t c) { return c == u' ' || c == u'\t' || c == u';' || c == u',' || c == u'='; }

// With /s, a line that starts with a quote loses its first and its last
// quote, and nothing else is removed.
std::u16string afterSlashSRule(std::u16string_view line) {
  std::u16string text(line);
  if (!text.starts_with(u'"')) return text;
  text.erase(text.rfind(u'"'), 1);
  if (!text.empty()) text.erase(0, 1);
  return text;
}

// Follows the command name character by character: leading delimiters are
// skipped, quotes are dropped, and an unquoted delimiter ends it. cmd.exe
// finds no program whose unquoted name holds ( or ), escaped or not.
class CommandName {
 public:
  void take(char16_t c, bool togglesQuotes, bool unquoted, std::string& fault) {
    if (state_ == State::after) return;
    const bool delimiter = unquoted && isNameDelimiter(c);
    if (state_ == State::before) {
      if (delimiter) return;
      state_ = State::inside;
    } else if (delimiter) {
      state_ = State::after;
      return;
    }
    if (togglesQuotes) return;
    if (unquoted && (c == u'(' || c == u')') && fault.empty()) {
      fault = std::string(1, static_cast<char>(c)) + " in an unquoted command name";
    }
    name_ += c;
  }
  const std::u16string& name() const { return name_; }

 private:
  enum class State { before, inside, after };
  State state_ = State::before;
  std::u16string name_;
};

}  // namespace

CmdOutcome simulateCmd(std::u16string_view line) {
  CmdOutcome outcome;
  const std::u16string expanded = expandPercents(afterSlashSRule(line), outcome.fault);
  CommandName name;
  bool insideQuotes = false;
  for (std::size_t i = 0; i < expanded.size(); ++i) {
    char16_t c = expanded[i];
    if (c == u'\r' || c == u'\n') {
      if (outcome.fault.empty()) outcome.fault = "line break ends the command";
      break;
    }
    const bool togglesQuotes = c == u'"';
    if (togglesQuotes) insideQuotes = !insideQuotes;
    if (!insideQuotes && c == u'^') {
      if (++i == expanded.size()) break;
      c = expanded[i];
    } else if (!insideQuotes && isOperator(c) && outcome.fault.empty()) {
      outcome.fault = std::string("unescaped ") + static_cast<char>(c) + " outside quotes";
    }
    outcome.programLine += c;
    name.take(c, togglesQuotes, !insideQuotes, outcome.fault);
  }
  outcome.programName = name.name();
  return outcome;
}

}  // namespace kel::test
