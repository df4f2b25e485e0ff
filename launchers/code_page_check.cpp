#include "code_page_check.h"

#include <windows.h>

#include "kel/code_page.h"
#include "program_arguments.h"

namespace kel {

bool argumentsPassExactly() {
  const auto* commandLine = reinterpret_cast<const char16_t*>(::GetCommandLineW());
  return text::toAnsi(argumentsOf(commandLine)).has_value();
}

bool kelhomePassesExactly() {
  const DWORD size = ::GetEnvironmentVariableW(L"KELHOME", nullptr, 0);
  if (size == 0) return true;
  std::u16string value(size, u'\0');
  value.resize(::GetEnvironmentVariableW(L"KELHOME", reinterpret_cast<wchar_t*>(value.data()), size));
  return text::toAnsi(value).has_value();
}

std::string notInCodePageMessage(std::string_view what) {
  return std::string(what) + " holds a character that the system's code page (" + std::to_string(::GetACP()) +
         ") cannot pass on; nothing was started.";
}

}  // namespace kel
