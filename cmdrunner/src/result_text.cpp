#include "result_text.h"

namespace kel::cmdrunner {

std::string formatResult(std::string_view captured, bool overflowed, int code,
                         const std::optional<std::string>& errorText) {
  if (overflowed) code = OUTPUT_OVERFLOW_CODE;
  std::string result(captured);
  if (code == SYSTEM_FAILURE_CODE && errorText) result += *errorText;
  result += "\nThe highest return code is ";
  result += std::to_string(code);
  return result;
}

std::string makeResult(const std::optional<std::string>& errorText, int code) {
  return formatResult({}, false, code, errorText);
}

}  // namespace kel::cmdrunner
