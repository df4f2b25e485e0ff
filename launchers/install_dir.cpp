#include "install_dir.h"

#include <windows.h>

#include <cstdlib>

#include "code_page_check.h"
#include "kelhome_value.h"

namespace kel {
namespace {

// A short form can be longer than the name (C:\KEL 1 becomes C:\KEL1~1), so
// the platform is asked how much room it needs first.
std::string shortFormOf(const std::string& path) {
  if (path.empty()) return path;
  const DWORD needed = ::GetShortPathNameA(path.c_str(), nullptr, 0);
  if (needed == 0) return path;
  std::string shortForm(needed, '\0');
  const DWORD written = ::GetShortPathNameA(path.c_str(), shortForm.data(), needed);
  // More than asked for: the directory was renamed in between.
  if (written == 0 || written >= needed) return path;
  shortForm.resize(written);
  return shortForm;
}

}  // namespace

InstallDir resolveInstallDir() {
  const char* value = std::getenv("KELHOME");
  if (value == nullptr) return {"", KelhomeProblem::notSet};
  if (!kelhomePassesExactly()) return {"", KelhomeProblem::notInCodePage};
  const std::optional<std::string> path = installDirFromKelhome(value);
  if (!path) return {"", KelhomeProblem::holdsQuote};
  return {shortFormOf(*path), KelhomeProblem::none};
}

}  // namespace kel
