#pragma once
// Trace hooks: every traced step of the library passes its fixed message here.
// The bodies are empty, so the library writes no trace output; the calls mark
// the steps, and a developer chasing a provider's behaviour can fill them in.

#include <cstdint>

namespace orvandel {

// A message with no placeholder.
void traceText(const char* message) noexcept;
// A message with one %d: a platform result code or a loop index.
void traceNumber(const char* message, std::int32_t value) noexcept;
// A message with one %s; the value may be null for an absent field. The
// platform's texts are UTF-16, so the value may be wide.
void traceString(const char* message, const char* value) noexcept;
void traceString(const char* message, const wchar_t* value) noexcept;

}  // namespace orvandel
