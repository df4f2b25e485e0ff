#include "install_dir.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace kel {

std::optional<std::string> resolveInstallDir() {
  const char* value = std::getenv("KELHOME");
  if (value == nullptr) return std::nullopt;
  const std::size_t length = std::strlen(value);
  if (length == 0) return std::string();

  // Exactly as long as the value, no room for a terminator: a short form of
  // the same length does not fit, and the platform then writes nothing.
  std::vector<char> shortForm(length, '\0');
  const DWORD written = ::GetShortPathNameA(value, shortForm.data(), static_cast<DWORD>(length));
  if (written == 0 || written >= length || shortForm[0] == '\0') return std::string(value, length);
  return std::string(shortForm.data(), written);
}

}  // namespace kel
