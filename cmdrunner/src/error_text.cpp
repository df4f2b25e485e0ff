#include "error_text.h"

#include "kel/text_encoding.h"
#include "kel/unique_any.h"
#include "result_text.h"

namespace kel::cmdrunner {

namespace {

struct local_memory_traits {
  using type = wchar_t*;
  static type invalid() noexcept { return nullptr; }
  static void close(type text) noexcept { ::LocalFree(text); }
};

}  // namespace

void fetchErrorText(DWORD error, int& code, std::optional<std::string>& errorText) {
  constexpr DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;
  constexpr DWORD userDefaultLanguage = MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT);
  unique_any<local_memory_traits> message;
  // With FORMAT_MESSAGE_ALLOCATE_BUFFER the buffer argument receives the address.
  if (::FormatMessageW(flags, nullptr, error, userDefaultLanguage, reinterpret_cast<LPWSTR>(message.put()), 0,
                       nullptr)) {
    errorText = text::encodeModifiedUtf8(reinterpret_cast<const char16_t*>(message.get()));
  } else {
    errorText = "System error ";
    *errorText += std::to_string(error);
    *errorText += "\r\n";
  }
  code = SYSTEM_FAILURE_CODE;
}

}  // namespace kel::cmdrunner
