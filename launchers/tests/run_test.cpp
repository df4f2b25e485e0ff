// Running a line through the interpreter, in this process, where its
// platform calls can be watched and made to fail: the lines built from an
// install directory without a short form (a volume that keeps no 8.3 names,
// which Wine cannot give the launchers), and an interpreter whose exit code
// cannot be read.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "command_line.h"
#include "import_patch.h"
#include "launcher_test_support.h"
#include "run.h"

namespace kel {
namespace {

using Args = std::vector<std::string>;

TEST(LauncherRun, WithoutAShortFormEveryLineStartsItsProgramWithEveryPathWhole) {
  // No ; in it: a Java runtime whose folder holds one cannot find its own
  // DLLs (; separates the folders the loader searches).
  test::SampleInstall install("KEL Home &(1)^,=%OS%!");
  const std::string d = install.longPath();
  const std::u16string wideD = test::wideOf(d);
  // So that the server command's own arguments are recorded.
  std::filesystem::copy_file(test::javaStandinExe(), d + "\\keltool.exe",
                             std::filesystem::copy_options::overwrite_existing);
  install.setJavaExitCode(5);

  const std::vector<std::u16string> passed = {u"-u", u"a&b", u"c^d", u"50%PATH%", u"a\"b&c", u"(x)", u"two words"};
  const Args words = {"-u", "a&b", "c^d", "50%PATH%", "a\"b&c", "(x)", "two", "words"};
  ASSERT_EQ(runThroughInterpreter(applicationCommand(wideD, defaultWorkspace(wideD), passed)), 5);
  EXPECT_EQ(install.record(), test::passwordApplication(d + "\\eclipse\\workspace", words));
  ASSERT_EQ(runThroughInterpreter(toolClientCommand(wideD, passed)), 5);
  EXPECT_EQ(install.record(), test::toolClient(words));
  ASSERT_EQ(runThroughInterpreter(serverCommand(wideD, passed)), 5);
  const auto server = install.standinRecord();
  ASSERT_TRUE(server);
  Args expected = {d + "\\keltool", "-s", "SetPassword"};
  expected.insert(expected.end(), words.begin(), words.end());
  EXPECT_EQ(server->arguments, expected);
}

int starts = 0;
void* createProcess = nullptr;
BOOL WINAPI countedCreateProcess(LPCWSTR application, LPWSTR commandLine, LPSECURITY_ATTRIBUTES process,
                                 LPSECURITY_ATTRIBUTES thread, BOOL inherit, DWORD flags, LPVOID environment,
                                 LPCWSTR directory, LPSTARTUPINFOW startup, LPPROCESS_INFORMATION information) {
  ++starts;
  return reinterpret_cast<decltype(&::CreateProcessW)>(createProcess)(
      application, commandLine, process, thread, inherit, flags, environment, directory, startup, information);
}
BOOL WINAPI unreadableExitCode(HANDLE, LPDWORD) {
  ::SetLastError(ERROR_ACCESS_DENIED);
  return FALSE;
}
// Lets the interpreter end first (through another import than the one it
// stands in for), so that nothing of it outlives the test.
DWORD WINAPI failedWait(HANDLE process, DWORD) {
  ::WaitForSingleObjectEx(process, INFINITE, FALSE);
  ::SetLastError(ERROR_INVALID_HANDLE);
  return WAIT_FAILED;
}

// An interpreter that ran has run its command: when its end or its exit
// code cannot be known it is not started again elsewhere.
TEST(LauncherRun, AnInterpreterThatRanIsNeverStartedAgain) {
  test::SampleInstall install;
  const std::u16string line = u"\"" + test::wideOf(test::javaStandinExe()) + u"\" x";
  const std::pair<const char*, void*> faults[] = {{"GetExitCodeProcess", reinterpret_cast<void*>(&unreadableExitCode)},
                                                  {"WaitForSingleObject", reinterpret_cast<void*>(&failedWait)}};
  for (const auto& [function, fake] : faults) {
    SCOPED_TRACE(function);
    const test::ImportPatch counted(::GetModuleHandleW(nullptr), "kernel32.dll", "CreateProcessW",
                                    reinterpret_cast<void*>(&countedCreateProcess));
    createProcess = counted.original();
    starts = 0;
    int exitCode = 0;
    testing::internal::CaptureStdout();
    {
      const test::ImportPatch failing(::GetModuleHandleW(nullptr), "kernel32.dll", function, fake);
      exitCode = runThroughInterpreter(line);
    }
    // The stand-in's own line once, then the launcher's.
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(output.starts_with("java stand-in received: ")) << output;
    EXPECT_TRUE(output.ends_with("\nThe command ran, but its exit code could not be read.\n")) << output;
    EXPECT_EQ(test::linesOf(output).size(), 2u) << output;
    EXPECT_EQ(exitCode, -1);
    EXPECT_EQ(starts, 1);
  }
}

}  // namespace
}  // namespace kel
