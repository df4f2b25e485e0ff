// Test helper: runs the rest of its own command line as a program and prints
// that program's full 32-bit exit code, which a Linux shell sees only in part.
// Usage: report_exit_code.exe PROGRAM [ARGUMENTS...]
#include <windows.h>

#include <cstdio>
#include <string>

#include "kel/unique_handle.h"

namespace {

// The command line after this program's own name, as typed.
std::string restOfCommandLine() {
  const std::string line = ::GetCommandLineA();
  bool insideQuotes = false;
  std::size_t i = 0;
  while (i < line.size() && (insideQuotes || (line[i] != ' ' && line[i] != '\t'))) {
    if (line[i] == '"') insideQuotes = !insideQuotes;
    ++i;
  }
  const std::size_t start = line.find_first_not_of(" \t", i);
  return start == std::string::npos ? std::string() : line.substr(start);
}

}  // namespace

int main() {
  std::string commandLine = restOfCommandLine();
  if (commandLine.empty()) {
    std::puts("usage: report_exit_code PROGRAM [ARGUMENTS...]");
    return 2;
  }
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::fflush(stdout);
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
    std::printf("could not start %s (error %lu)\n", commandLine.c_str(), ::GetLastError());
    return 2;
  }
  const kel::unique_handle processHandle(process.hProcess);
  const kel::unique_handle threadHandle(process.hThread);
  ::WaitForSingleObject(processHandle.get(), INFINITE);
  DWORD exitCode = 0;
  ::GetExitCodeProcess(processHandle.get(), &exitCode);
  std::printf("exit code: %ld (0x%08lX)\n", static_cast<long>(static_cast<LONG>(exitCode)), exitCode);
  return 0;
}
