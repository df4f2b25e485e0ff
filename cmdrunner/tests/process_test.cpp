// What a call does to the rest of the process: its standard handles, its open
// handles, the programs others start meanwhile, its current directory, and
// calls on several threads at once.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "kel/unique_handle.h"
#include "process_resources.h"
#include "tesmaru_call.h"

namespace {

using kel::test::child;
using kel::test::getStdout;
using kel::test::lastLine;
using kel::test::openHandles;
using kel::test::systemText;

// The process's own standard output is left alone: what other code writes
// there during a call reaches it, and none of it the call's result.
TEST(Process, WhatOtherCodeWritesDuringACallStaysOnItsOwnOutput) {
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  ASSERT_TRUE(::CreatePipe(&readEnd, &writeEnd, nullptr, 1 << 16));
  const kel::unique_handle reader(readEnd);
  const kel::unique_handle writer(writeEnd);
  const HANDLE ownOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
  ::SetStdHandle(STD_OUTPUT_HANDLE, writer.get());
  std::thread other([] {
    for (const char* line : {"side 1\n", "side 2\n", "side 3\n"}) {
      ::Sleep(100);
      DWORD written = 0;
      ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), line, 7, &written, nullptr);
    }
  });
  const std::optional<std::string> result = getStdout(child() + " sleep 600 print done");
  other.join();
  ::SetStdHandle(STD_OUTPUT_HANDLE, ownOutput);
  EXPECT_EQ(result, "done" + lastLine(0));
  char received[64] = {};
  DWORD count = 0;
  ASSERT_TRUE(::ReadFile(reader.get(), received, sizeof received - 1, &count, nullptr));
  EXPECT_STREQ(received, "side 1\nside 2\nside 3\n");
}

// Every road that makes a pipe: a full output, a cut one, a refused command,
// a failed start (slow under Wine, so rarer); and one that makes none. Child
// starts are slow under Wine too, hence a child in one call of four. Each
// answer whole, and nothing left open or allocated: handles, the system's
// texts.
TEST(Process, NothingStaysOpenAfterManyCalls) {
  const std::string tooLong = child() + std::string(40000, 'x');
  const std::string refused = systemText(ERROR_FILENAME_EXCED_RANGE) + lastLine(97);
  const std::pair<std::string, std::string> calls[] = {
      {child() + " out 65536 exit 2", kel::test::cycle(65536) + lastLine(2)},
      {tooLong, refused},
      {" & ", lastLine(0)},
      {tooLong + " & " + child() + " out 70000", refused},
      {"no_such_program.exe", systemText(ERROR_FILE_NOT_FOUND) + lastLine(97)},
  };
  EXPECT_EQ(getStdout(calls[0].first), calls[0].second);
  const int handles = openHandles();
  const std::size_t heap = kel::test::heapBytes();
  const HANDLE probe = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
  ASSERT_EQ(openHandles(), handles + 1);  // the count does see one more handle
  ::CloseHandle(probe);
  for (int call = 0; call < 200; ++call) {
    const auto& [line, answer] = calls[call % 20 == 0 ? 4 : call % 4];
    ASSERT_EQ(getStdout(line), answer) << "call " << call;
  }
  EXPECT_EQ(openHandles(), handles);
  EXPECT_LT(kel::test::heapBytes(), heap + 4096) << "a system text for each of 110 failures is some 6 KB";
}

TEST(Process, ConcurrentCallsEachGetTheirOwnOutput) {
  for (int round = 0; round < 6; ++round) {
    // Alternate which call ends first.
    const int firstSleep = round % 2 ? 100 : 300;
    const int secondSleep = round % 2 ? 300 : 100;
    std::optional<std::string> first, second;
    std::thread a([&] {
      first = getStdout(child() + " print A1 sleep " + std::to_string(firstSleep) + " & " + child() + " err A2");
    });
    std::thread b([&] {
      second = getStdout(child() + " print B1 sleep " + std::to_string(secondSleep) + " & " + child() + " err B2");
    });
    a.join();
    b.join();
    EXPECT_EQ(first, "A1A2" + lastLine(0));
    EXPECT_EQ(second, "B1B2" + lastLine(0));
  }
}

TEST(Process, ACommandInheritsNoHandleButItsOutput) {
  // Inheritable, as the VM's own handles can be. A child that held it under
  // its value would set it; at that value it finds at most an object of its own.
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  const kel::unique_handle event(::CreateEventA(&inheritable, TRUE, FALSE, nullptr));
  ASSERT_TRUE(event);
  const auto value = std::to_string(reinterpret_cast<std::uintptr_t>(event.get()));
  EXPECT_EQ(getStdout(child() + " set " + value), lastLine(0));
  EXPECT_EQ(::WaitForSingleObject(event.get(), 0), DWORD{WAIT_TIMEOUT}) << "the command held the test's event";
}

// A process the test has to end itself, ended by its handle however the test ends.
struct EndedAtScopeExit {
  kel::unique_handle process;
  ~EndedAtScopeExit() {
    ::TerminateProcess(process.get(), 1);
    ::WaitForSingleObject(process.get(), 5000);
  }
};

TEST(Process, AHelperThatOutlivesItsCommandDoesNotHoldTheCall) {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  // The helper holds a copy of the write end; it writes 2 s after it started,
  // when its command has long ended, and lives for 20 s more.
  const std::optional<std::string> result =
      getStdout(child() + " spawn \"sleep 2000 print late sleep 20000\" print before");
  const auto took = Clock::now() - start;
  ASSERT_TRUE(result);
  const std::size_t end = result->find(';');
  ASSERT_EQ(result->rfind("spawned ", 0), 0u) << *result;
  ASSERT_NE(end, std::string::npos) << *result;
  const EndedAtScopeExit helper{kel::unique_handle(::OpenProcess(
      PROCESS_TERMINATE | SYNCHRONIZE, FALSE, std::stoul(result->substr(8, end - 8))))};
  ASSERT_TRUE(helper.process) << "no helper " << *result;
  EXPECT_EQ(::WaitForSingleObject(helper.process.get(), 0), DWORD{WAIT_TIMEOUT}) << "the helper ended early";
  EXPECT_EQ(result->substr(end + 1), "before" + lastLine(0));
  EXPECT_LT(took, std::chrono::seconds(10));
}

TEST(Process, AConcurrentCallsChildDoesNotHoldThisCallsPipe) {
  using Clock = std::chrono::steady_clock;
  std::optional<std::string> quick, slow;
  Clock::duration quickTook{};
  std::thread a([&] {
    const auto start = Clock::now();
    quick = getStdout(child() + " sleep 500 print quick");
    quickTook = Clock::now() - start;
  });
  ::Sleep(150);  // the slow child starts while the quick call's pipe exists
  std::thread b([&] { slow = getStdout(child() + " sleep 4000 print slow"); });
  a.join();
  b.join();
  EXPECT_EQ(quick, "quick" + lastLine(0));
  EXPECT_EQ(slow, "slow" + lastLine(0));
  EXPECT_LT(quickTook, std::chrono::milliseconds(3000));
}

}  // namespace

// Programs that others in the process start with inheritance on and no
// handle list (as Java's ProcessBuilder does) may hold a call's write end
// from a moment's start on; they neither hold the call up nor add to it.
TEST(Process, ProcessesOthersStartMeanwhileNeitherHoldNorJoinACall) {
  std::atomic<bool> calling{true};
  std::vector<kel::unique_handle> started;
  std::thread other([&] {
    while (calling) {
      std::string line = child() + " sleep 3000";
      STARTUPINFOA startup{};
      startup.cb = sizeof startup;
      PROCESS_INFORMATION process{};
      if (::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                           &process)) {
        ::CloseHandle(process.hThread);
        started.emplace_back(process.hProcess);
      }
      ::Sleep(100);
    }
  });
  const auto start = std::chrono::steady_clock::now();
  for (int call = 0; call < 10; ++call) {
    EXPECT_EQ(getStdout(child() + " print " + std::to_string(call)), std::to_string(call) + lastLine(0));
  }
  const auto took = std::chrono::steady_clock::now() - start;
  calling = false;
  other.join();
  EXPECT_GT(started.size(), 0u);
  EXPECT_LT(took, std::chrono::seconds(20)) << "calls waited for processes that hold their pipe";
  for (const kel::unique_handle& process : started) ::WaitForSingleObject(process.get(), INFINITE);
}

// A bare program name is found in the application's and the system's
// folders and along PATH, never in the current directory; a name with a
// path is taken as written.
TEST(Process, AProgramPlantedInTheCurrentDirectoryDoesNotRun) {
  wchar_t temp[MAX_PATH];
  ASSERT_GT(::GetTempPathW(MAX_PATH, temp), 0u);
  const std::wstring folder = std::wstring(temp) + L"tesmaru planted " + std::to_wstring(::GetCurrentProcessId());
  ::CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring planted = folder + L"\\cmd.exe";
  const std::string source = kel::test::windowsPath(RUNNER_CHILD);  // ASCII, as the build folder is
  ASSERT_TRUE(::CopyFileW(std::wstring(source.begin(), source.end()).c_str(), planted.c_str(), FALSE));
  wchar_t ownDirectory[MAX_PATH];
  ::GetCurrentDirectoryW(MAX_PATH, ownDirectory);
  ::SetCurrentDirectoryW(folder.c_str());
  const std::optional<std::string> system = getStdout("cmd /c echo hi");
  const std::optional<std::string> asked = getStdout(".\\cmd.exe print planted");
  ::SetCurrentDirectoryW(ownDirectory);
  EXPECT_EQ(system, "hi\r\n" + lastLine(0));
  EXPECT_EQ(asked, "planted" + lastLine(0));

  wchar_t ownPath[32767];
  ::GetEnvironmentVariableW(L"PATH", ownPath, 32767);
  const std::string childFolder = source.substr(0, source.find_last_of('\\'));
  ::SetEnvironmentVariableW(L"PATH", (std::wstring(childFolder.begin(), childFolder.end()) + L";" + ownPath).c_str());
  const std::optional<std::string> along = getStdout("runner_child print along");
  ::SetEnvironmentVariableW(L"PATH", ownPath);
  EXPECT_EQ(along, "along" + lastLine(0));
  ::DeleteFileW(planted.c_str());
  ::RemoveDirectoryW(folder.c_str());
}
