#pragma once
// The command line keltool runs, as the tool client must receive it (before
// escaping for the command interpreter).

#include <span>
#include <string>
#include <string_view>

namespace kel {

std::string toolClientCommand(std::string_view installDir, std::span<const std::string> arguments);

}  // namespace kel
