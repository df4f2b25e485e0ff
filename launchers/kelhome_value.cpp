#include "kelhome_value.h"

namespace kel {

std::optional<std::string> installDirFromKelhome(std::string_view value) {
  if (value.size() >= 2 && value.starts_with('"') && value.ends_with('"')) {
    value = value.substr(1, value.size() - 2);
  }
  if (value.find('"') != std::string_view::npos) return std::nullopt;
  return std::string(value);
}

}  // namespace kel
