#include "cmd_model.h"

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

}  // namespace

CmdOutcome simulateCmd(std::string_view line) {
  CmdOutcome outcome;
  const std::string expanded = expandPercents(line, outcome.fault);
  bool insideQuotes = false;
  for (std::size_t i = 0; i < expanded.size(); ++i) {
    const char c = expanded[i];
    if (c == '\r' || c == '\n') {
      if (outcome.fault.empty()) outcome.fault = "line break ends the command";
      break;
    }
    if (c == '"') insideQuotes = !insideQuotes;
    if (!insideQuotes && c == '^') {
      if (++i < expanded.size()) outcome.programLine += expanded[i];
      continue;
    }
    if (!insideQuotes && isOperator(c) && outcome.fault.empty()) {
      outcome.fault = std::string("unescaped ") + c + " outside quotes";
    }
    outcome.programLine += c;
  }
  return outcome;
}

}  // namespace kel::test
