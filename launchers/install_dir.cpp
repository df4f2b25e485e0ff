#include "install_dir.h"

#include <cstdlib>
#include <optional>

#include "kel/code_page.h"
#include "kelhome_value.h"
#include "short_path.h"

namespace kel {

InstallDir resolveInstallDir() {
  // Read wide: the C runtime's ANSI copy of the environment would hold a
  // look-alike or "?" where the code page lacks a character.
  const wchar_t* value = ::_wgetenv(L"KELHOME");
  if (value == nullptr) return {u"", KelhomeProblem::notSet};
  const std::optional<std::u16string> path =
      installDirFromKelhome(std::u16string_view(reinterpret_cast<const char16_t*>(value)));
  if (!path) return {u"", KelhomeProblem::holdsQuote};
  // The short form is what is passed on; only it has to fit the code page.
  std::u16string installDir = shortFormOf(*path);
  if (!text::toAnsi(installDir)) return {u"", KelhomeProblem::notInCodePage};
  return {std::move(installDir), KelhomeProblem::none};
}

}  // namespace kel
