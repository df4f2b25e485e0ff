#include "run.h"

#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>

#include "command_line.h"
#include "install_dir.h"
#include "kel/code_page.h"
#include "kel/system_paths.h"
#include "kel/unique_handle.h"
#include "kel/wide.h"

namespace kel {
namespace {

// What became of one start of an interpreter. Only one that never started
// may be tried with another: one that ran has run its command.
struct InterpreterRun {
  enum class Outcome { notStarted, ended, exitCodeUnknown } outcome;
  DWORD exitCode = 0;
};

// Starts `interpreter` on `line` with the launcher's handles, console,
// directory and environment, and waits for it.
InterpreterRun runInterpreter(const std::u16string& interpreter, std::u16string_view line) {
  std::u16string commandLine = u'"' + interpreter + u"\" ";
  commandLine += INTERPRETER_SWITCHES;
  commandLine += line;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(wide(interpreter), wide(commandLine), nullptr, nullptr, TRUE,
                        0, nullptr, nullptr, &startup, &process)) {
    return {InterpreterRun::Outcome::notStarted};
  }
  const unique_handle processHandle(process.hProcess);
  const unique_handle threadHandle(process.hThread);
  DWORD exitCode = 0;
  if (::WaitForSingleObject(processHandle.get(), INFINITE) != WAIT_OBJECT_0 ||
      !::GetExitCodeProcess(processHandle.get(), &exitCode)) {
    return {InterpreterRun::Outcome::exitCodeUnknown};
  }
  return {InterpreterRun::Outcome::ended, exitCode};
}

}  // namespace

int runThroughInterpreter(std::u16string_view programLine) {
  const InterpreterLine line = prepareInterpreterLine(programLine);
  if (!line.refusal.empty()) {
    std::puts(line.refusal.c_str());
    return COMMAND_REFUSED_CODE;
  }
  // The started program reads its command line in the code page: the line
  // goes only when every character of it has its exact form there.
  if (!text::toAnsi(line.text)) return refuseArgument();
  InterpreterRun run{InterpreterRun::Outcome::notStarted};
  if (const std::u16string comSpec = environmentValue(u"ComSpec"); !comSpec.empty()) {
    run = runInterpreter(comSpec, line.text);
  }
  // What ComSpec names on every Windows; never a cmd.exe of the current directory.
  if (run.outcome == InterpreterRun::Outcome::notStarted) {
    run = runInterpreter(systemDirectory() + u"\\cmd.exe", line.text);
  }
  switch (run.outcome) {
    case InterpreterRun::Outcome::ended:
      return static_cast<int>(run.exitCode);
    case InterpreterRun::Outcome::exitCodeUnknown:
      std::puts("The command ran, but its exit code could not be read.");
      return -1;
    case InterpreterRun::Outcome::notStarted:
      break;
  }
  return -1;
}

}  // namespace kel
