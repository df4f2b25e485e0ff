#include "code_page_check.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "kel/code_page.h"
#include "short_path.h"

namespace kel {

std::vector<std::u16string> wideArguments(int argc, wchar_t** argv) {
  std::vector<std::u16string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(reinterpret_cast<const char16_t*>(argv[i]));
  return arguments;
}

bool inCodePage(std::span<const std::u16string> arguments) {
  return std::all_of(arguments.begin(), arguments.end(),
                     [](const std::u16string& argument) { return text::toAnsi(argument).has_value(); });
}

std::size_t lengthInCodePage(std::u16string_view piece) {
  if (const std::optional<std::string> ansi = text::toAnsi(piece)) return ansi->size();
  // A character above U+FFFF is two UTF-16 units; the second is no character of its own.
  return static_cast<std::size_t>(
      std::count_if(piece.begin(), piece.end(), [](char16_t unit) { return unit < 0xDC00 || unit > 0xDFFF; }));
}

std::optional<std::u16string> pathInCodePage(const std::u16string& path) {
  if (text::toAnsi(path)) return path;
  std::u16string shortForm = shortFormOf(path);
  if (text::toAnsi(shortForm)) return shortForm;
  return std::nullopt;
}

std::string notInCodePageMessage(std::string_view what) {
  return std::string(what) + " holds a character that the system's code page (" + std::to_string(::GetACP()) +
         ") cannot pass on; nothing was started.";
}

int refuseArgument() {
  std::puts(notInCodePageMessage("An argument").c_str());
  return kCharacterRefused;
}

}  // namespace kel
