#include "command_line.h"

#include <algorithm>

namespace kel {
namespace {

// What would split a path made from the install directory: blanks and tabs
// for the started program's C runtime, and what cmd.exe reads as a delimiter
// or an operator in a command name (; , = ( ) & | < > ^, vertical tab, form
// feed, and U+00FF and the no-break space, which are the byte 0xFF in the
// ANSI and the OEM code pages) or expands (%). The short form of a name never
// holds a blank, but a volume without 8.3 names gives none.
bool installDirNeedsQuotes(std::u16string_view installDir) {
  return installDir.find_first_of(u" \t;,=()&|<>^%\v\f\u00FF\u00A0") != std::u16string_view::npos;
}

// Writes `argument` for the C runtime's splitting: each quote as \" with the
// backslashes before it doubled; `closingQuote` also doubles the backslashes
// at the end, which would otherwise escape a quote written after them.
void appendEncoded(std::u16string& out, std::u16string_view argument, bool closingQuote) {
  std::size_t backslashes = 0;
  for (const char16_t c : argument) {
    if (c == u'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == u'"' ? 2 * backslashes + 1 : backslashes, u'\\');
    backslashes = 0;
    out += c;
  }
  out.append(closingQuote ? 2 * backslashes : backslashes, u'\\');
}

// The argument in double quotes, arriving as one argument exactly as given.
void appendQuoted(std::u16string& out, std::u16string_view argument) {
  out += u'"';
  appendEncoded(out, argument, true);
  out += u'"';
}

// The install directory followed by `piece` (which begins with a backslash),
// quoted only when it needs it, so that ordinary directories give the lines
// they always gave.
void appendInstallPath(std::u16string& line, std::u16string_view installDir, std::u16string_view piece) {
  std::u16string path(installDir);
  path += piece;
  if (installDirNeedsQuotes(installDir)) {
    appendQuoted(line, path);
  } else {
    line += path;
  }
}

// One space and each argument, word by word: a word holding * or ? goes in
// quotes, while the blanks between words still split them.
void appendPassThrough(std::u16string& line, std::span<const std::u16string> arguments) {
  for (const std::u16string& argument : arguments) {
    line += u' ';
    std::size_t at = 0;
    while (at < argument.size()) {
      const std::size_t end = std::min(argument.find_first_of(u" \t", at), argument.size());
      const std::u16string_view word = std::u16string_view(argument).substr(at, end - at);
      if (word.find_first_of(u"*?") != std::u16string_view::npos) {
        appendQuoted(line, word);
      } else {
        appendEncoded(line, word, false);
      }
      const std::size_t next = std::min(argument.find_first_not_of(u" \t", end), argument.size());
      line.append(argument, end, next - end);
      at = next;
    }
  }
}

bool isCmdOperator(char16_t c) {
  switch (c) {
    case u'&': case u'|': case u'<': case u'>': case u'^': case u'(': case u')':
      return true;
    default:
      return false;
  }
}

// Outside double quotes every character cmd.exe acts on gets a caret; inside
// them a caret would stay in the text, so none is added there. Every % becomes
// %%cd:~,% (a literal % followed by an empty substring of %cd%), since a caret
// cannot stop % expansion, inside quotes or out.
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

}  // namespace

std::optional<std::u16string> installDirFromKelhome(std::u16string_view value) {
  if (value.size() >= 2 && value.front() == u'"' && value.back() == u'"') value = value.substr(1, value.size() - 2);
  if (value.find(u'"') != std::u16string_view::npos) return std::nullopt;
  std::u16string directory(value);
  std::replace(directory.begin(), directory.end(), u'/', u'\\');
  return directory;
}

ScannedArguments scanArguments(std::span<const std::u16string> arguments, std::span<const std::size_t> lengths) {
  const auto isWorkspaceOption = [](std::u16string_view argument) {
    return argument.size() >= 2 && argument[0] == u'-' && argument[1] == u'e';
  };
  // A piece "\-x" could not be typed as a piece of its own, since it would end the path.
  const auto continuation = [](std::u16string_view piece) {
    return piece.size() == 3 && piece[0] == u'\\' && piece[1] == u'-' ? piece.substr(1) : piece;
  };
  ScannedArguments scanned;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (!isWorkspaceOption(arguments[i])) {
      scanned.passThrough.push_back(arguments[i]);
      continue;
    }
    if (i + 1 == arguments.size()) break;
    std::u16string workspace = arguments[++i];
    while (i + 1 < arguments.size() &&
           (arguments[i + 1].empty() || (arguments[i + 1].front() != u'-' && lengths[i + 1] != 2))) {
      workspace += u' ';
      workspace += continuation(arguments[++i]);
    }
    scanned.workspace = std::move(workspace);
  }
  return scanned;
}

std::u16string defaultWorkspace(std::u16string_view installDir) {
  return std::u16string(installDir) + u"\\eclipse\\workspace";
}

std::u16string applicationCommand(std::u16string_view installDir, std::u16string_view workspace,
                                  std::span<const std::u16string> passThrough) {
  std::u16string line;
  appendInstallPath(line, installDir, u"\\eclipse\\jre\\bin\\java");
  line += u" -Xzq -cp ";
  appendInstallPath(line, installDir, u"\\eclipse\\startup.jar");
  line += u" org.eclipse.core.launcher.Main -noupdate  -application com.vum.kel.KELpass.kelpass -data ";
  appendQuoted(line, workspace);
  line += u' ';
  appendPassThrough(line, passThrough);
  return line;
}

std::u16string serverCommand(std::u16string_view installDir, std::span<const std::u16string> passThrough) {
  std::u16string line;
  appendInstallPath(line, installDir, u"\\keltool");
  line += u" -s SetPassword";
  appendPassThrough(line, passThrough);
  return line;
}

std::u16string toolClientCommand(std::u16string_view installDir, std::span<const std::u16string> arguments) {
  std::u16string line;
  appendInstallPath(line, installDir, u"\\eclipse\\jre\\bin\\java");
  line += u" -jar ";
  appendInstallPath(line, installDir, u"\\eclipse\\plugins\\com.vum.kel.KELtoolClient\\keltoolClient.jar");
  appendPassThrough(line, arguments);
  return line;
}

InterpreterLine prepareInterpreterLine(std::u16string_view programLine) {
  if (programLine.find_first_of(u"\r\n") != std::u16string_view::npos) {
    return {u"", "The command line holds a line break, which the command interpreter cannot pass on; "
                 "nothing was started."};
  }
  // cmd.exe /s /c drops the first and the last quote of the line before it
  // reads carets and quotes, so the line inside is escaped as if it stood alone.
  const std::u16string wrapped = u'"' + escapeForCmd(programLine) + u'"';
  if (wrapped.size() > MAX_INTERPRETER_LINE) {
    return {u"", "The command line is too long for the command interpreter (" + std::to_string(wrapped.size()) +
                     " characters, at most " + std::to_string(MAX_INTERPRETER_LINE) + "); nothing was started."};
  }
  return {wrapped, ""};
}

}  // namespace kel
