#pragma once
// The system's own text for a failed platform call.

#include <windows.h>

#include <optional>
#include <string>

namespace kel::cmdrunner {

// Stores the system's text for `error` in `errorText`, as modified UTF-8,
// and 97 in `code`.
void fetchErrorText(DWORD error, int& code, std::optional<std::string>& errorText);

}  // namespace kel::cmdrunner
