#include "install_dir.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "command_line.h"
#include "kel/code_page.h"
#include "kel/wide.h"

namespace kel {
namespace {

// The short form of `path`, asked with the room it says it needs (a short
// form can be longer than the name: C:\KEL 1 becomes C:\KEL1~1); `path`
// itself when the platform gives none (a missing path, or a volume that keeps
// no 8.3 names). A path already short comes out unchanged.
std::u16string shortFormOf(const std::u16string& path) {
  if (path.empty()) return path;
  const DWORD needed = ::GetShortPathNameW(wide(path), nullptr, 0);
  if (needed == 0) return path;
  std::u16string shortForm(needed, u'\0');
  const DWORD written = ::GetShortPathNameW(wide(path), wide(shortForm), needed);
  // More than asked for: the directory was renamed in between.
  if (written == 0 || written >= needed) return path;
  shortForm.resize(written);
  return shortForm;
}

std::string notInCodePageMessage(const char* what) {
  return std::string(what) + " holds a character that the system's code page (" + std::to_string(::GetACP()) +
         ") cannot pass on; nothing was started.";
}

}  // namespace

InstallDir resolveInstallDir() {
  // Read wide: the C runtime's ANSI copy of the environment would hold a
  // look-alike or "?" where the code page lacks a character.
  const wchar_t* value = ::_wgetenv(L"KELHOME");
  if (value == nullptr) return {u"", KelhomeProblem::notSet};
  const std::optional<std::u16string> path =
      installDirFromKelhome(std::u16string_view(reinterpret_cast<const char16_t*>(value)));
  if (!path) return {u"", KelhomeProblem::holdsQuote};
  std::optional<std::u16string> installDir = passablePath(*path, PathForm::shortForm);
  if (!installDir) return {u"", KelhomeProblem::notInCodePage};
  return {*std::move(installDir), KelhomeProblem::none};
}

std::optional<int> refusalToStart(const InstallDir& install, KelhomeNotSet notSet) {
  switch (install.problem) {
    case KelhomeProblem::notSet:
      std::puts(notSet.message);
      return notSet.exitCode;
    case KelhomeProblem::holdsQuote:
      std::puts(KELHOME_HOLDS_QUOTE_MESSAGE);
      return notSet.exitCode;
    case KelhomeProblem::notInCodePage:
      std::puts(notInCodePageMessage("Environment variable KELHOME").c_str());
      return CHARACTER_REFUSED_CODE;
    case KelhomeProblem::none:
      break;
  }
  return std::nullopt;
}

std::vector<std::u16string> wideArguments(int argc, wchar_t** argv) {
  std::vector<std::u16string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
  return arguments;
}

bool inCodePage(std::span<const std::u16string> arguments) {
  return std::all_of(arguments.begin(), arguments.end(),
                     [](const std::u16string& argument) { return text::toAnsi(argument).has_value(); });
}

std::vector<std::size_t> lengthsInCodePage(std::span<const std::u16string> arguments) {
  std::vector<std::size_t> lengths;
  for (const std::u16string& argument : arguments) {
    if (const std::optional<std::string> ansi = text::toAnsi(argument)) {
      lengths.push_back(ansi->size());
    } else {
      // A character above U+FFFF is two UTF-16 units; the second is no character of its own.
      lengths.push_back(static_cast<std::size_t>(std::count_if(
          argument.begin(), argument.end(), [](char16_t unit) { return unit < 0xDC00 || unit > 0xDFFF; })));
    }
  }
  return lengths;
}

std::optional<std::u16string> passablePath(const std::u16string& path, PathForm preferred) {
  const std::u16string shortForm = shortFormOf(path);
  const std::u16string& first = preferred == PathForm::shortForm ? shortForm : path;
  const std::u16string& second = preferred == PathForm::shortForm ? path : shortForm;
  for (const std::u16string* form : {&first, &second}) {
    if (text::toAnsi(*form)) return *form;
  }
  return std::nullopt;
}

int refuseArgument() {
  std::puts(notInCodePageMessage("An argument").c_str());
  return CHARACTER_REFUSED_CODE;
}

}  // namespace kel
