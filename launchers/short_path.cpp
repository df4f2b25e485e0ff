#include "short_path.h"

#include <windows.h>

#include "kel/wide.h"

namespace kel {

std::u16string shortFormOf(const std::u16string& path) {
  if (path.empty()) return path;
  // A short form can be longer than the name (C:\KEL 1 becomes C:\KEL1~1), so
  // the platform is asked how much room it needs first.
  const DWORD needed = ::GetShortPathNameW(wide(path), nullptr, 0);
  if (needed == 0) return path;
  std::u16string shortForm(needed, u'\0');
  const DWORD written = ::GetShortPathNameW(wide(path), wide(shortForm), needed);
  // More than asked for: the directory was renamed in between.
  if (written == 0 || written >= needed) return path;
  shortForm.resize(written);
  return shortForm;
}

}  // namespace kel
