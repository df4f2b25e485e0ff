#pragma once
// Taking the value of KELHOME as a directory path.

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

namespace kel {

// The directory that `value` names: without the double quotes around it when
// it is quoted whole (as `set KELHOME="C:\KEL"` leaves it), and with every /
// written \ (as users and scripts write C:/KEL; Windows' cmd.exe ends an
// unquoted program name at a slash, and a short form keeps it). nullopt when a
// quote is still left, since no directory name holds one and the started
// programs would split their command lines at it.
template <typename Char>
std::optional<std::basic_string<Char>> installDirFromKelhome(std::basic_string_view<Char> value) {
  constexpr Char quote('"');
  if (value.size() >= 2 && value.front() == quote && value.back() == quote) {
    value = value.substr(1, value.size() - 2);
  }
  if (value.find(quote) != std::basic_string_view<Char>::npos) return std::nullopt;
  std::basic_string<Char> directory(value);
  std::replace(directory.begin(), directory.end(), Char('/'), Char('\\'));
  return directory;
}

inline constexpr const char* kKelhomeHoldsQuoteMessage =
    "Environment variable KELHOME holds a double quote, which no directory name can hold; nothing "
    "was started.";

}  // namespace kel
