#pragma once
// The command line keltool runs, as the tool client must receive it (before
// escaping for the command interpreter).

#include <span>
#include <string>
#include <string_view>

namespace kel {

std::u16string toolClientCommand(std::u16string_view installDir, std::span<const std::u16string> arguments);

}  // namespace kel
