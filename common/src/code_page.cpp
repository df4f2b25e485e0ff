#include "kel/code_page.h"

#include <windows.h>

#include "kel/wide.h"

namespace kel::text {
namespace {

std::optional<std::u16string> decode(UINT codePage, std::string_view text, DWORD flags) {
  if (text.empty()) return std::u16string();
  const int size = static_cast<int>(text.size());
  const int length = ::MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
  if (length == 0) return std::nullopt;
  std::u16string units(static_cast<std::size_t>(length), u'\0');
  ::MultiByteToWideChar(codePage, flags, text.data(), size, wide(units), length);
  return units;
}

std::u16string fromCodePage(UINT codePage, std::string_view text, bool cutAtEnd) {
  if (auto units = decode(codePage, text, MB_ERR_INVALID_CHARS)) return *std::move(units);
  if (cutAtEnd) {
    if (auto units = decode(codePage, text.substr(0, text.size() - 1), MB_ERR_INVALID_CHARS)) return *std::move(units);
  }
  // Bytes that are no character of the code page: the platform's stand-in for them.
  return decode(codePage, text, 0).value_or(std::u16string());
}

}  // namespace

std::optional<std::string> toAnsi(std::u16string_view text) {
  if (text.find(u'\0') != std::u16string_view::npos) return std::nullopt;
  if (text.empty()) return std::string();
  // A UTF-8 ANSI code page takes neither flag nor default character; it
  // lacks only lone surrogates, which it refuses when told to.
  const bool utf8 = ::GetACP() == CP_UTF8;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* const usedDefaultSlot = utf8 ? nullptr : &usedDefault;
  const int size = static_cast<int>(text.size());
  const int length = ::WideCharToMultiByte(CP_ACP, flags, wide(text), size, nullptr, 0, nullptr, usedDefaultSlot);
  if (length == 0 || usedDefault) return std::nullopt;
  std::string ansi(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_ACP, flags, wide(text), size, ansi.data(), length, nullptr, usedDefaultSlot);
  // Read back, so that no conversion the platform calls exact changes a character.
  if (usedDefault || decode(CP_ACP, ansi, MB_ERR_INVALID_CHARS) != text) return std::nullopt;
  return ansi;
}

std::u16string fromOem(std::string_view text, bool cutAtEnd) { return fromCodePage(CP_OEMCP, text, cutAtEnd); }

}  // namespace kel::text
