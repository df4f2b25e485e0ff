#pragma once
// Trace hooks: every traced step of the library passes its fixed message
// here, each prefixed with its routine's name. The bodies are empty, so the
// library writes no trace output; the calls mark the steps, and a developer
// chasing a provider's behaviour can fill them in.

#include <cstdint>

namespace orvandel {

// A message with no placeholder.
inline void traceText(const char*) noexcept {}
// A message with one %d: a platform result code or a loop index.
inline void traceNumber(const char*, std::int32_t) noexcept {}
// A message with one %s: a UTF-16 text, null for an absent field.
inline void traceString(const char*, const char16_t*) noexcept {}

}  // namespace orvandel
