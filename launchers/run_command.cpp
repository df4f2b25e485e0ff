#include "run_command.h"

#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>

#include "code_page_check.h"
#include "interpreter_line.h"
#include "kel/code_page.h"
#include "kel/unique_handle.h"
#include "kel/wide.h"

namespace kel {
namespace {

std::u16string environmentValue(const wchar_t* name) {
  const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return u"";
  std::u16string value(size, u'\0');
  value.resize(::GetEnvironmentVariableW(name, wide(value), size));
  return value;
}

// Where the C runtime's system() looks when ComSpec does not serve.
std::optional<std::u16string> cmdInCurrentDirectoryOrPath() {
  const std::u16string places = u".;" + environmentValue(L"PATH");
  const DWORD needed = ::SearchPathW(wide(places), L"cmd.exe", nullptr, 0, nullptr, nullptr);
  if (needed == 0) return std::nullopt;
  std::u16string found(needed, u'\0');
  const DWORD written = ::SearchPathW(wide(places), L"cmd.exe", nullptr, needed, wide(found), nullptr);
  if (written == 0 || written >= needed) return std::nullopt;
  found.resize(written);
  return found;
}

// Starts `interpreter` on `line` with the launcher's handles, console,
// directory and environment, and waits for it; nullopt when it cannot start.
std::optional<DWORD> runInterpreter(const std::u16string& interpreter, std::u16string_view line) {
  std::u16string commandLine = u'"' + interpreter + u"\" ";
  commandLine += kInterpreterSwitches;
  commandLine += line;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(wide(interpreter), wide(commandLine), nullptr, nullptr, TRUE,
                        0, nullptr, nullptr, &startup, &process)) {
    return std::nullopt;
  }
  const unique_handle processHandle(process.hProcess);
  const unique_handle threadHandle(process.hThread);
  ::WaitForSingleObject(processHandle.get(), INFINITE);
  DWORD exitCode = 0;
  if (!::GetExitCodeProcess(processHandle.get(), &exitCode)) return std::nullopt;
  return exitCode;
}

}  // namespace

int runThroughInterpreter(std::u16string_view programLine) {
  const InterpreterLine line = prepareInterpreterLine(programLine);
  if (!line.refusal.empty()) {
    std::puts(line.refusal.c_str());
    return kCommandRefused;
  }
  // The started program reads its command line in the code page: the line
  // goes only when every character of it has its exact form there.
  if (!text::toAnsi(line.text)) return refuseArgument();
  std::optional<DWORD> exitCode;
  if (const std::u16string comSpec = environmentValue(L"ComSpec"); !comSpec.empty()) {
    exitCode = runInterpreter(comSpec, line.text);
  }
  if (!exitCode) {
    if (const std::optional<std::u16string> cmd = cmdInCurrentDirectoryOrPath()) exitCode = runInterpreter(*cmd, line.text);
  }
  return exitCode ? static_cast<int>(*exitCode) : -1;
}

}  // namespace kel
