#include "cmd_model.h"

#include <algorithm>

namespace kel::test {
namespace {

// Command-line (not batch) rules: %name% is replaced by the variable; "%%"
// has an empty name, so the first % stays and the scan goes on at the second.
// %cd:~,% is an empty substring of the current directory.
std::string expandPercents(std::string_view line, std::string& fault) {
  std::string out;
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] != '%') {
      out += line[i++];
      continue;
    }
    const std::size_t close = line.find('%', i + 1);
    if (close == std::string_view::npos) {
      out += line.substr(i);
      break;
    }
    const std::string_view name = line.substr(i + 1, close - i - 1);
    if (name.empty()) {
      out += '%';
      i = close;
      continue;
    }
    if (name != "cd:~,") {
      fault = "expanded %" + std::string(name) + "%";
      out += "<value of " + std::string(name) + ">";
    }
    i = close + 1;
  }
  return out;
}

bool isOperator(char c) {
  return c == '&' || c == '|' || c == '<' || c == '>' || c == '(' || c == ')';
}

// What ends a command name outside quotes. Taken to end it even after a caret,
// which is not known to keep it in the name.
bool isNameDelimiter(char c) { return c == ' ' || c == '\t' || c == ';' || c == ',' || c == '='; }

// A line that starts with a quote loses its first and its last quote (seen
// under Wine's cmd.exe). With two quotes or fewer cmd.exe keeps them or not
// depending on the program named and on what they enclose: not modelled.
std::string afterSlashCRule(std::string_view line, std::string& fault) {
  std::string text(line);
  if (!text.starts_with('"')) return text;
  if (std::count(text.begin(), text.end(), '"') <= 2) {
    fault = "a line starting with a quote holds only two";
    return text;
  }
  text.erase(text.rfind('"'), 1);
  text.erase(0, 1);
  return text;
}

// Follows the command name character by character: leading delimiters are
// skipped, quotes are dropped, and an unquoted delimiter ends it. cmd.exe
// finds no program whose unquoted name holds ( or ), escaped or not.
class CommandName {
 public:
  void take(char c, bool togglesQuotes, bool unquoted, std::string& fault) {
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
    if (unquoted && (c == '(' || c == ')') && fault.empty()) fault = std::string(1, c) + " in an unquoted command name";
    name_ += c;
  }
  const std::string& name() const { return name_; }

 private:
  enum class State { before, inside, after };
  State state_ = State::before;
  std::string name_;
};

}  // namespace

CmdOutcome simulateCmd(std::string_view line) {
  CmdOutcome outcome;
  const std::string expanded = expandPercents(afterSlashCRule(line, outcome.fault), outcome.fault);
  CommandName name;
  bool insideQuotes = false;
  for (std::size_t i = 0; i < expanded.size(); ++i) {
    char c = expanded[i];
    if (c == '\r' || c == '\n') {
      if (outcome.fault.empty()) outcome.fault = "line break ends the command";
      break;
    }
    const bool togglesQuotes = c == '"';
    if (togglesQuotes) insideQuotes = !insideQuotes;
    if (!insideQuotes && c == '^') {
      if (++i == expanded.size()) break;
      c = expanded[i];
    } else if (!insideQuotes && isOperator(c) && outcome.fault.empty()) {
      outcome.fault = std::string("unescaped ") + c + " outside quotes";
    }
    outcome.programLine += c;
    name.take(c, togglesQuotes, !insideQuotes, outcome.fault);
  }
  outcome.programName = name.name();
  return outcome;
}

}  // namespace kel::test
