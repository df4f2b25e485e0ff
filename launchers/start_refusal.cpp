#include "start_refusal.h"

#include <cstdio>

#include "code_page_check.h"
#include "kelhome_value.h"

namespace kel {

std::optional<int> refusalToStart(const InstallDir& install, KelhomeNotSet notSet) {
  switch (install.problem) {
    case KelhomeProblem::notSet:
      std::puts(notSet.message);
      return notSet.exitCode;
    case KelhomeProblem::holdsQuote:
      std::puts(kKelhomeHoldsQuoteMessage);
      return notSet.exitCode;
    case KelhomeProblem::notInCodePage:
      std::puts(notInCodePageMessage("Environment variable KELHOME").c_str());
      return kCharacterRefused;
    case KelhomeProblem::none:
      break;
  }
  return std::nullopt;
}

}  // namespace kel
