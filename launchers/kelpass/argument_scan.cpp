#include "argument_scan.h"

namespace kel {
namespace {

template <typename Char, typename Length>
bool continuesWorkspace(std::basic_string_view<Char> piece, Length length) {
  return piece.empty() || (piece.front() != Char('-') && length(piece) != 2);
}

// "\-x" stands for "-x", which could not be typed as a piece of its own since
// it would end the path.
template <typename Char>
std::basic_string_view<Char> continuationText(std::basic_string_view<Char> piece) {
  if (piece.size() == 3 && piece[0] == Char('\\') && piece[1] == Char('-')) return piece.substr(1);
  return piece;
}

template <typename Char>
bool startsWorkspace(std::basic_string_view<Char> argument) {
  return argument.size() >= 2 && argument[0] == Char('-') && argument[1] == Char('e');
}

template <typename Text, typename Length>
BasicScannedArguments<Text> scan(std::span<const Text> arguments, Length length) {
  using View = std::basic_string_view<typename Text::value_type>;
  BasicScannedArguments<Text> scanned;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (!startsWorkspace(View(arguments[i]))) {
      scanned.passThrough.push_back(arguments[i]);
      continue;
    }
    if (i + 1 == arguments.size()) break;
    Text workspace = arguments[++i];
    while (i + 1 < arguments.size() && continuesWorkspace(View(arguments[i + 1]), length)) {
      workspace += typename Text::value_type(' ');
      workspace += continuationText(View(arguments[++i]));
    }
    scanned.workspace = std::move(workspace);
  }
  return scanned;
}

}  // namespace

bool isWorkspaceOption(std::string_view argument) { return startsWorkspace(argument); }

ScannedArguments scanArguments(std::span<const std::string> arguments) {
  return scan(arguments, [](std::string_view piece) { return piece.size(); });
}

WideScannedArguments scanArguments(std::span<const std::u16string> arguments, PieceLength length) {
  return scan(arguments, length);
}

}  // namespace kel
