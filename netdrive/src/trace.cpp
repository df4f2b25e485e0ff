#include "trace.h"

namespace orvandel {

void traceText(const char*) noexcept {}
void traceNumber(const char*, std::int32_t) noexcept {}
void traceString(const char*, const char*) noexcept {}
void traceString(const char*, const wchar_t*) noexcept {}

}  // namespace orvandel
