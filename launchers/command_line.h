#pragma once
// The command lines the launchers run, decided as text and nothing else:
// KELHOME's value, kelpass's arguments, the three lines as their programs
// must receive them, and the text cmd.exe is given to start them. Built and
// tested on every preset. Lines are UTF-16 throughout, as cmd.exe reads them,
// so that no second byte of a double-byte character is ever taken for \ ^ or |.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kel {

// kelpass's exit code when KELHOME is not set, and keltool's.
inline constexpr int KELPASS_KELHOME_NOT_SET_CODE = -96;
inline constexpr int KELTOOL_KELHOME_NOT_SET_CODE = -1;
// A line cmd.exe could not carry intact; nothing was started.
inline constexpr int COMMAND_REFUSED_CODE = -95;
// The tool client's answer when the workspace is locked and no tool server runs.
inline constexpr int TOOL_SERVER_NOT_RUNNING_CODE = -99;

inline constexpr const char* KELPASS_KELHOME_NOT_SET_MESSAGE = "Environment variable KELHOME cannot be resolved.";
inline constexpr const char* KELTOOL_KELHOME_NOT_SET_MESSAGE = "Enviroment variable KELHOME could not be resolved.";
inline constexpr const char* KELHOME_HOLDS_QUOTE_MESSAGE =
    "Environment variable KELHOME holds a double quote, which no directory name can hold; nothing "
    "was started.";
inline constexpr const char* LOCKED_WORKSPACE_MESSAGE =
    "The workspace is locked and KELtool server is not running. Either close KEL Toolkit, or turn "
    "on KELtool server before running kelpass.";

// The longest line cmd.exe accepts, in UTF-16 units (what it counts).
inline constexpr std::size_t MAX_INTERPRETER_LINE = 8191;

// What cmd.exe is started with before the line: no AutoRun command (/d), no
// delayed expansion (/v:off, which would eat !x!), extensions on (/e:on),
// whatever the registry says; /s: the first and the last quote of the line
// are removed and nothing else.
inline constexpr std::u16string_view INTERPRETER_SWITCHES = u"/d /v:off /e:on /s /c ";

// The directory KELHOME's value names: without the double quotes around it
// when it is quoted whole (as `set KELHOME="C:\KEL"` leaves it), and with
// every / written \ (Windows' cmd.exe ends an unquoted program name at a
// slash). nullopt when a quote is still left: no directory name holds one,
// and the started programs would split their command lines at it.
std::optional<std::u16string> installDirFromKelhome(std::u16string_view value);

struct ScannedArguments {
  std::optional<std::u16string> workspace;  // from the last -e option that had a value
  std::vector<std::u16string> passThrough;  // everything else, in order
};

// kelpass's arguments: any argument starting with "-e" (so -exit too) names
// the workspace, continued by the following arguments up to one that starts
// with '-' or whose length in the code page (`lengths`, one per argument) is
// exactly two, each joined with a space; a three-character piece "\-x" joins
// as "-x". A workspace option given last is dropped.
ScannedArguments scanArguments(std::span<const std::u16string> arguments, std::span<const std::size_t> lengths);

std::u16string defaultWorkspace(std::u16string_view installDir);

// The lines as the started program must receive them. Every path made from
// the install directory is quoted when the directory holds what would split
// it; the workspace is quoted; each pass-through word is written bare (so an
// argument with spaces arrives as several words) but for a literal quote,
// written \", and a word holding * or ?, written in quotes, which a Java
// launcher would otherwise expand into file names.
std::u16string applicationCommand(std::u16string_view installDir, std::u16string_view workspace,
                                  std::span<const std::u16string> passThrough);
std::u16string serverCommand(std::u16string_view installDir, std::span<const std::u16string> passThrough);
std::u16string toolClientCommand(std::u16string_view installDir, std::span<const std::u16string> arguments);

struct InterpreterLine {
  std::u16string text;  // for cmd.exe after its switches; empty when refused
  std::string refusal;  // one-line reason; empty when the line can run
};

// `programLine` escaped for cmd.exe (carets outside quotes, every % as
// %%cd:~,%) and wrapped in the one more pair of quotes that cmd.exe /s /c
// removes. Refused: a line longer than MAX_INTERPRETER_LINE so, and a line
// holding a carriage return or line feed (cmd.exe would drop the rest).
InterpreterLine prepareInterpreterLine(std::u16string_view programLine);

}  // namespace kel
