#pragma once
// Splitting kelpass's arguments into the workspace option and the arguments
// passed through to whichever program is started. The launcher scans its
// arguments as Windows gives them (UTF-16), so that a workspace path holds
// every character typed; the scan itself depends on no character type.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kel {

template <typename Text>
struct ScannedArguments {
  std::optional<Text> workspace;  // from the last -e option that had a value
  std::vector<Text> passThrough;  // everything else, in order
};

// Any argument starting with "-e" (so -exit too) names the workspace.
template <typename Char>
bool isWorkspaceOption(std::basic_string_view<Char> argument) {
  return argument.size() >= 2 && argument[0] == Char('-') && argument[1] == Char('e');
}

// The arguments in order; the workspace is the argument after the last
// workspace option, continued by the following arguments up to one that
// starts with '-' or whose `length` is exactly two characters, each joined
// with a space; a three-character piece "\-x" joins as "-x" (it could not be
// typed as a piece of its own, since it would end the path). A workspace
// option given last is dropped.
template <typename Text, typename Length>
ScannedArguments<Text> scanArguments(std::span<const Text> arguments, Length length) {
  using Char = typename Text::value_type;
  using View = std::basic_string_view<Char>;
  const auto continuesWorkspace = [&](View piece) {
    return piece.empty() || (piece.front() != Char('-') && length(piece) != 2);
  };
  const auto continuationText = [](View piece) {
    return piece.size() == 3 && piece[0] == Char('\\') && piece[1] == Char('-') ? piece.substr(1) : piece;
  };
  ScannedArguments<Text> scanned;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (!isWorkspaceOption(View(arguments[i]))) {
      scanned.passThrough.push_back(arguments[i]);
      continue;
    }
    if (i + 1 == arguments.size()) break;
    Text workspace = arguments[++i];
    while (i + 1 < arguments.size() && continuesWorkspace(View(arguments[i + 1]))) {
      workspace += Char(' ');
      workspace += continuationText(View(arguments[++i]));
    }
    scanned.workspace = std::move(workspace);
  }
  return scanned;
}

}  // namespace kel
