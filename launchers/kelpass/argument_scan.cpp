#include "argument_scan.h"

namespace kel {
namespace {

bool continuesWorkspace(std::string_view piece) {
  return !piece.starts_with('-') && piece.size() != 2;
}

// "\-x" stands for "-x", which could not be typed as a piece of its own since
// it would end the path.
std::string_view continuationText(std::string_view piece) {
  if (piece.size() == 3 && piece.starts_with("\\-")) return piece.substr(1);
  return piece;
}

}  // namespace

bool isWorkspaceOption(std::string_view argument) { return argument.starts_with("-e"); }

ScannedArguments scanArguments(std::span<const std::string> arguments) {
  ScannedArguments scanned;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (!isWorkspaceOption(arguments[i])) {
      scanned.passThrough.push_back(arguments[i]);
      continue;
    }
    if (i + 1 == arguments.size()) break;
    std::string workspace = arguments[++i];
    while (i + 1 < arguments.size() && continuesWorkspace(arguments[i + 1])) {
      workspace += ' ';
      workspace += continuationText(arguments[++i]);
    }
    scanned.workspace = std::move(workspace);
  }
  return scanned;
}

}  // namespace kel
