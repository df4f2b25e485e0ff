#include "kelhome_value.h"

namespace kel {
namespace {

template <typename Char>
std::optional<std::basic_string<Char>> unquoted(std::basic_string_view<Char> value) {
  constexpr Char quote('"');
  if (value.size() >= 2 && value.front() == quote && value.back() == quote) {
    value = value.substr(1, value.size() - 2);
  }
  if (value.find(quote) != std::basic_string_view<Char>::npos) return std::nullopt;
  return std::basic_string<Char>(value);
}

}  // namespace

std::optional<std::string> installDirFromKelhome(std::string_view value) { return unquoted(value); }

std::optional<std::u16string> installDirFromKelhome(std::u16string_view value) { return unquoted(value); }

}  // namespace kel
