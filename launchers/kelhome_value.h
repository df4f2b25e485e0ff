#pragma once
// Taking the value of KELHOME as a directory path.

#include <optional>
#include <string>
#include <string_view>

namespace kel {

// The directory that `value` names: without the double quotes around it when
// it is quoted whole (as `set KELHOME="C:\KEL"` leaves it). nullopt when a
// quote is still left, since no directory name holds one and the started
// programs would split their command lines at it.
std::optional<std::string> installDirFromKelhome(std::string_view value);
std::optional<std::u16string> installDirFromKelhome(std::u16string_view value);

inline constexpr const char* kKelhomeHoldsQuoteMessage =
    "Environment variable KELHOME holds a double quote, which no directory name can hold; nothing "
    "was started.";

}  // namespace kel
