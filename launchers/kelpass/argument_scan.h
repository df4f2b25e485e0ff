#pragma once
// Splitting kelpass's arguments into the workspace option and the arguments
// passed through to whichever program is started.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kel {

template <typename Text>
struct BasicScannedArguments {
  std::optional<Text> workspace;  // from the last -e option that had a value
  std::vector<Text> passThrough;  // everything else, in order
};
using ScannedArguments = BasicScannedArguments<std::string>;
using WideScannedArguments = BasicScannedArguments<std::u16string>;

// Any argument starting with "-e" (so -exit too) names the workspace.
bool isWorkspaceOption(std::string_view argument);

// `arguments` excludes the program name. The workspace is the argument after
// a workspace option, continued by the following arguments up to one that
// starts with '-' or has exactly two characters, each joined with a space; a
// three-character piece "\-x" joins as "-x". A workspace option given last is
// dropped. The wide form takes the arguments as Windows gives them, so that
// a workspace path holds every character typed, and counts a piece's length
// with `length`.
ScannedArguments scanArguments(std::span<const std::string> arguments);
using PieceLength = std::size_t (*)(std::u16string_view piece);
WideScannedArguments scanArguments(std::span<const std::u16string> arguments, PieceLength length);

}  // namespace kel
