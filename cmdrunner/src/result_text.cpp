#include "result_text.h"

namespace kel::cmdrunner {

std::string formatResult(std::string_view captured, bool overflowed, int code,
                         const std::optional<std::string>& errorText) {
  // A platform call that failed is told whatever the output held: its text
  // stands before the last line, which 97 alone announces.
  const bool failed = code == SYSTEM_FAILURE_CODE && errorText;
  if (overflowed && !failed) code = OUTPUT_OVERFLOW_CODE;
  std::string result(captured);
  if (failed) result += *errorText;
  result += "\nThe highest return code is ";
  result += std::to_string(code);
  return result;
}

std::string makeResult(const std::optional<std::string>& errorText, int code) {
  return formatResult({}, false, code, errorText);
}

}  // namespace kel::cmdrunner
