#pragma once
// The text that a call returns: the captured output, the system's text when a
// platform call failed, and a last line with the code.

#include <optional>
#include <string>
#include <string_view>

namespace kel::cmdrunner {

// The output passed the limit; the result holds only its first part.
inline constexpr int OUTPUT_OVERFLOW_CODE = 96;
// A platform call failed; the system's text for it stands in the result.
inline constexpr int SYSTEM_FAILURE_CODE = 97;

// `errorText` is set only when a platform call failed; then the code is 97
// and the system's text follows the output, cut or not. Otherwise a cut
// output makes the code 96.
std::string formatResult(std::string_view captured, bool overflowed, int code,
                         const std::optional<std::string>& errorText);

// The reply for a failure before any output was read.
std::string makeResult(const std::optional<std::string>& errorText, int code);

}  // namespace kel::cmdrunner
