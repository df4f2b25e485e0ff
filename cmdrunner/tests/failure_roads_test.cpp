// Every platform call that Tesmaru.dll checks, made to fail through its
// import table with an error number of the test's choosing, at its first
// call and, where a call repeats, at a later one.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "import_patch.h"
#include "kel/unique_handle.h"
#include "process_resources.h"
#include "tesmaru_call.h"

namespace {

using kel::test::child;
using kel::test::getStdout;
using kel::test::lastLine;
using kel::test::systemText;

// The one call being made to fail; every other call goes through.
struct Injection {
  void* original = nullptr;
  int failAt = 0;
  int calls = 0;
  DWORD error = 0;
  std::uintptr_t failure = 0;
  std::uintptr_t refusedArgument = 0;  // the first argument of the failed call
};

Injection injection;

template <typename Value>
std::uintptr_t bits(Value value) {
  if constexpr (std::is_pointer_v<Value>) {
    return reinterpret_cast<std::uintptr_t>(value);
  } else {
    return static_cast<std::uintptr_t>(value);
  }
}

template <typename Result, typename... Arguments>
Result WINAPI failing(Arguments... arguments) {
  if (++injection.calls != injection.failAt) {
    return reinterpret_cast<Result(WINAPI*)(Arguments...)>(injection.original)(arguments...);
  }
  injection.refusedArgument = bits(std::get<0>(std::tie(arguments...)));
  ::SetLastError(injection.error);
  if constexpr (std::is_pointer_v<Result>) {
    return reinterpret_cast<Result>(injection.failure);
  } else {
    return static_cast<Result>(injection.failure);
  }
}

struct Fake {
  void* replacement;
  std::uintptr_t failure;
};

// A stand-in with the type of `function` that answers `failure` when it fails.
template <typename Result, typename... Arguments>
Fake failsAs(Result(WINAPI*)(Arguments...), std::type_identity_t<Result> failure) {
  Result(WINAPI * replacement)(Arguments...) = &failing<Result, Arguments...>;
  return {reinterpret_cast<void*>(replacement), bits(failure)};
}

struct Road {
  const char* function;
  Fake fake;
  int failAt;
  DWORD error;
  std::string commandLine;
  std::string expected;
};

std::string failed(DWORD error) { return systemText(error) + lastLine(97); }

TEST(FailureRoads, EachFailingCallGivesItsReplyPromptlyAndLeavesNothing) {
  const std::string c = child();
  const std::string twoCommands = c + " print a & " + c + " print b";
  // The pauses let each piece of output be read on its own, so the roads can
  // count the reads.
  const std::string twoPauses = c + " print a sleep 500 & " + c + " print b sleep 500";
  const std::string aPause = c + " print a sleep 500 print b";
  const std::vector<Road> roads = {
      {"CreateNamedPipeA", failsAs(&::CreateNamedPipeA, INVALID_HANDLE_VALUE), 1, ERROR_PIPE_BUSY, twoCommands,
       failed(ERROR_PIPE_BUSY)},
      {"CreateFileA", failsAs(&::CreateFileA, INVALID_HANDLE_VALUE), 1, ERROR_ACCESS_DENIED, twoCommands,
       failed(ERROR_ACCESS_DENIED)},
      {"CreateEventA", failsAs(&::CreateEventA, nullptr), 1, ERROR_NOT_ENOUGH_MEMORY, twoCommands,
       failed(ERROR_NOT_ENOUGH_MEMORY)},
      // Standard output, then standard error.
      {"SetStdHandle", failsAs(&::SetStdHandle, FALSE), 1, ERROR_INVALID_HANDLE, twoCommands,
       failed(ERROR_INVALID_HANDLE)},
      {"SetStdHandle", failsAs(&::SetStdHandle, FALSE), 2, ERROR_INVALID_PARAMETER, twoCommands,
       failed(ERROR_INVALID_PARAMETER)},
      // The handle list, whose size is asked for first, then filled.
      {"InitializeProcThreadAttributeList", failsAs(&::InitializeProcThreadAttributeList, FALSE), 2,
       ERROR_NOT_ENOUGH_MEMORY, twoCommands, failed(ERROR_NOT_ENOUGH_MEMORY)},
      {"UpdateProcThreadAttribute", failsAs(&::UpdateProcThreadAttribute, FALSE), 1, ERROR_INVALID_PARAMETER,
       twoCommands, failed(ERROR_INVALID_PARAMETER)},
      // Made inheritable and back for each command: the third is the second command's.
      {"SetHandleInformation", failsAs(&::SetHandleInformation, FALSE), 1, ERROR_ACCESS_DENIED, twoCommands,
       failed(ERROR_ACCESS_DENIED)},
      {"SetHandleInformation", failsAs(&::SetHandleInformation, FALSE), 3, ERROR_INVALID_FUNCTION, twoCommands,
       "a" + failed(ERROR_INVALID_FUNCTION)},
      {"CreateProcessW", failsAs(&::CreateProcessW, FALSE), 1, ERROR_BAD_EXE_FORMAT, twoCommands,
       failed(ERROR_BAD_EXE_FORMAT)},
      {"CreateProcessW", failsAs(&::CreateProcessW, FALSE), 2, ERROR_NOT_ENOUGH_MEMORY, twoCommands,
       "a" + failed(ERROR_NOT_ENOUGH_MEMORY)},
      // Commands that write nothing are waited for exactly once each.
      {"WaitForMultipleObjects", failsAs(&::WaitForMultipleObjects, WAIT_FAILED), 1, ERROR_INVALID_HANDLE,
       c + " & " + c + " print never", failed(ERROR_INVALID_HANDLE)},
      {"WaitForMultipleObjects", failsAs(&::WaitForMultipleObjects, WAIT_FAILED), 2, ERROR_ACCESS_DENIED,
       c + " & " + c + " & " + c + " print never", failed(ERROR_ACCESS_DENIED)},
      {"GetExitCodeProcess", failsAs(&::GetExitCodeProcess, FALSE), 1, ERROR_ACCESS_DENIED, twoCommands,
       "a" + failed(ERROR_ACCESS_DENIED)},
      {"GetExitCodeProcess", failsAs(&::GetExitCodeProcess, FALSE), 2, ERROR_INVALID_HANDLE,
       twoCommands + " & " + c + " print never", "ab" + failed(ERROR_INVALID_HANDLE)},
      // The child's thread and process, then the write end; the output is not read.
      {"CloseHandle", failsAs(&::CloseHandle, FALSE), 3, ERROR_INVALID_HANDLE, c + " print x",
       failed(ERROR_INVALID_HANDLE)},
      // A failed read ends the output; the child's later writes fail, and
      // it ends with 200.
      {"ReadFile", failsAs(&::ReadFile, FALSE), 1, ERROR_NO_SYSTEM_RESOURCES, aPause, lastLine(200)},
      {"ReadFile", failsAs(&::ReadFile, FALSE), 2, ERROR_NOT_ENOUGH_MEMORY, aPause, "a" + lastLine(200)},
      {"GetOverlappedResult", failsAs(&::GetOverlappedResult, FALSE), 1, ERROR_INVALID_PARAMETER, aPause,
       lastLine(200)},
      {"GetOverlappedResult", failsAs(&::GetOverlappedResult, FALSE), 2, ERROR_NO_SYSTEM_RESOURCES, aPause,
       "a" + lastLine(0)},
      // Once a command has ended, a failure to take the rest ends the output.
      {"CancelIo", failsAs(&::CancelIo, FALSE), 1, ERROR_INVALID_HANDLE, twoPauses, "a" + lastLine(200)},
      {"CancelIo", failsAs(&::CancelIo, FALSE), 2, ERROR_NOT_ENOUGH_MEMORY, twoPauses, "ab" + lastLine(0)},
      {"PeekNamedPipe", failsAs(&::PeekNamedPipe, FALSE), 1, ERROR_BAD_PIPE, twoPauses, "a" + lastLine(200)},
      {"PeekNamedPipe", failsAs(&::PeekNamedPipe, FALSE), 2, ERROR_INVALID_HANDLE, twoPauses, "ab" + lastLine(0)},
      // Without the system's text the number stands in for it.
      {"FormatMessageW", failsAs(&::FormatMessageW, 0), 1, ERROR_NOT_ENOUGH_MEMORY, "no_such_program_for_tesmaru.exe",
       "System error 2\r\n" + lastLine(97)},
  };

  // Counting handles is slow under Wine, so they are counted around all the
  // roads, once a first call and a first trace have opened what the process
  // keeps open.
  {
    SCOPED_TRACE("a first call");
    getStdout(twoCommands);
  }
  const int openHandles = kel::test::openHandles();
  for (const Road& road : roads) {
    SCOPED_TRACE(std::string(road.function) + " failing at call " + std::to_string(road.failAt));
    ASSERT_FALSE(systemText(road.error).empty());
    const kel::test::ImportPatch patch(kel::test::tesmaruLibrary().handle(), "kernel32.dll", road.function,
                                       road.fake.replacement);
    injection = {patch.original(), road.failAt, 0, road.error, road.fake.failure, 0};
    const kel::test::StandardHandles handles;
    const std::size_t heapBytes = kel::test::heapBytes();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(getStdout(road.commandLine), road.expected);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_GE(injection.calls, road.failAt) << "the call to fail was never made";
    EXPECT_EQ(kel::test::StandardHandles(), handles);
    EXPECT_LE(kel::test::heapBytes(), heapBytes + 64);
    if (std::string(road.function) == "CloseHandle") {
      // The write end that could not be closed is still open, and the test's to close.
      const kel::unique_handle refused(reinterpret_cast<HANDLE>(injection.refusedArgument));
      EXPECT_EQ(::GetFileType(refused.get()), DWORD{FILE_TYPE_PIPE}) << "the write end was refused";
    }
  }
  EXPECT_EQ(kel::test::openHandles(), openHandles);
}

}  // namespace
