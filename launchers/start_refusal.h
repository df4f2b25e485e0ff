#pragma once
// Why a launcher starts nothing: KELHOME unset or unusable.

#include <optional>

#include "install_dir.h"

namespace kel {

// Each launcher's own line and exit code for KELHOME not being set.
struct KelhomeNotSet {
  const char* message;
  int exitCode;
};

// Prints the one line that says why nothing can be started and answers the
// exit code; nullopt when the launcher can go on.
std::optional<int> refusalToStart(const InstallDir& install, KelhomeNotSet notSet);

}  // namespace kel
