#include "kel/system_paths.h"

#include <windows.h>

#include "kel/wide.h"

namespace kel {
namespace {

// The functions that answer the room they need (terminator included) when
// the buffer is too small, and the length they wrote otherwise; 0 for none.
template <typename Fetch>
std::u16string fetched(Fetch fetch) {
  std::u16string text(MAX_PATH, u'\0');
  for (;;) {
    const DWORD length = fetch(wide(text), static_cast<DWORD>(text.size()));
    if (length < text.size()) {
      text.resize(length);
      return text;
    }
    text.resize(length);
  }
}

}  // namespace

std::u16string environmentValue(const char16_t* name) {
  return fetched([&](wchar_t* buffer, DWORD size) { return ::GetEnvironmentVariableW(wide(name), buffer, size); });
}

std::u16string systemDirectory() { return fetched(::GetSystemDirectoryW); }

std::u16string windowsDirectory() { return fetched(::GetWindowsDirectoryW); }

std::u16string applicationDirectory() {
  // GetModuleFileNameW cuts the name to the room it was given instead of naming the room it needs.
  std::u16string path(MAX_PATH, u'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, wide(path), static_cast<DWORD>(path.size()));
    if (length == 0) return u"";
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return path.substr(0, path.find_last_of(u"\\/"));
}

}  // namespace kel
