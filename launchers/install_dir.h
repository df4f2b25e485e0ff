#pragma once
// Where the launchers find the toolkit and what they may pass on: the install
// directory from KELHOME, and the ANSI code page in which the started
// programs read their command lines. Windows would put a look-alike or "?"
// where the code page lacks a character, so a password typed in another
// script would be set as something else; such text is refused instead, and
// a path goes as its short (8.3) form where that is what the code page carries.

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kel {

// Exit code of a launcher that refused what the user typed.
inline constexpr int CHARACTER_REFUSED_CODE = -94;

enum class KelhomeProblem { none, notSet, holdsQuote, notInCodePage };

struct InstallDir {
  std::u16string path;  // empty when there is a problem, or when KELHOME is empty
  KelhomeProblem problem = KelhomeProblem::none;
};

// KELHOME read wide, as its directory (installDirFromKelhome), passed on in
// its short form; refused when no form of it fits the code page.
InstallDir resolveInstallDir();

// Each launcher's own line and exit code for KELHOME not being set.
struct KelhomeNotSet {
  const char* message;
  int exitCode;
};

// Prints the one line that says why nothing can be started and answers the
// exit code; nullopt when the launcher can go on.
std::optional<int> refusalToStart(const InstallDir& install, KelhomeNotSet notSet);

// The program's arguments (without its name) as Windows gives them, in UTF-16.
std::vector<std::u16string> wideArguments(int argc, wchar_t** argv);

// Whether every character of the arguments has its exact form in the code page.
bool inCodePage(std::span<const std::u16string> arguments);

// Each argument's length in the code page, as the workspace scan has always
// counted it (a double-byte character counts two; a character the code page
// lacks, one).
std::vector<std::size_t> lengthsInCodePage(std::span<const std::u16string> arguments);

// The form of a path the launchers pass on: the first of its short (8.3)
// form and its form as typed, in the order of `preferred`, that the code page
// carries exactly; nullopt when neither does. KELHOME goes as its short form
// where it has one, as the install directory always did; a workspace as
// typed where the code page carries that.
enum class PathForm { shortForm, asTyped };
std::optional<std::u16string> passablePath(const std::u16string& path, PathForm preferred);

// Prints the line for an argument the code page cannot carry and answers
// CHARACTER_REFUSED_CODE.
int refuseArgument();

}  // namespace kel
