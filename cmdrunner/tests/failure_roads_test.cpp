// Every platform call that Tesmaru.dll checks, made to fail through its
// import table with an error number of the test's choosing, at its first
// call and, where a call repeats, at a later one; and what the platform
// could answer unasked: a pipe name someone made first, bytes that vanish.
#include <windows.h>

#include <aclapi.h>
#include <ntsecapi.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <future>
#include <memory>
#include <string>
#include <thread>
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
  const char* dll = "kernel32.dll";
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
      // The pipe's security descriptor, its random name, the pipe itself.
      {"OpenThreadToken", failsAs(&::OpenThreadToken, FALSE), 1, ERROR_ACCESS_DENIED, twoCommands,
       failed(ERROR_ACCESS_DENIED), "advapi32.dll"},
      {"OpenProcessToken", failsAs(&::OpenProcessToken, FALSE), 1, ERROR_ACCESS_DENIED, twoCommands,
       failed(ERROR_ACCESS_DENIED), "advapi32.dll"},
      {"GetTokenInformation", failsAs(&::GetTokenInformation, FALSE), 1, ERROR_INSUFFICIENT_BUFFER, twoCommands,
       failed(ERROR_INSUFFICIENT_BUFFER), "advapi32.dll"},
      {"InitializeAcl", failsAs(&::InitializeAcl, FALSE), 1, ERROR_INVALID_PARAMETER, twoCommands,
       failed(ERROR_INVALID_PARAMETER), "advapi32.dll"},
      {"AddAccessAllowedAce", failsAs(&::AddAccessAllowedAce, FALSE), 1, ERROR_ALLOTTED_SPACE_EXCEEDED, twoCommands,
       failed(ERROR_ALLOTTED_SPACE_EXCEEDED), "advapi32.dll"},
      {"SystemFunction036", failsAs(&::SystemFunction036, FALSE), 1, ERROR_NOT_ENOUGH_MEMORY, twoCommands,
       failed(ERROR_NOT_ENOUGH_MEMORY), "advapi32.dll"},
      // A name that exists is passed over (see below); any other failure is the answer.
      {"CreateNamedPipeA", failsAs(&::CreateNamedPipeA, INVALID_HANDLE_VALUE), 1, ERROR_NO_SYSTEM_RESOURCES,
       twoCommands, failed(ERROR_NO_SYSTEM_RESOURCES)},
      {"CreateFileA", failsAs(&::CreateFileA, INVALID_HANDLE_VALUE), 1, ERROR_ACCESS_DENIED, twoCommands,
       failed(ERROR_ACCESS_DENIED)},
      {"CreateEventA", failsAs(&::CreateEventA, nullptr), 1, ERROR_NOT_ENOUGH_MEMORY, twoCommands,
       failed(ERROR_NOT_ENOUGH_MEMORY)},
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
      // The token read for the pipe's access list, the child's thread and
      // process, then the write end; the output is not read.
      {"CloseHandle", failsAs(&::CloseHandle, FALSE), 4, ERROR_INVALID_HANDLE, c + " print x",
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
      {"CancelIoEx", failsAs(&::CancelIoEx, FALSE), 1, ERROR_INVALID_HANDLE, twoPauses, "a" + lastLine(200)},
      {"CancelIoEx", failsAs(&::CancelIoEx, FALSE), 2, ERROR_NOT_ENOUGH_MEMORY, twoPauses, "ab" + lastLine(0)},
      {"PeekNamedPipe", failsAs(&::PeekNamedPipe, FALSE), 1, ERROR_BAD_PIPE, twoPauses, "a" + lastLine(200)},
      {"PeekNamedPipe", failsAs(&::PeekNamedPipe, FALSE), 2, ERROR_INVALID_HANDLE, twoPauses, "ab" + lastLine(0)},
      // Without the system's text the number stands in for it.
      {"FormatMessageW", failsAs(&::FormatMessageW, 0), 1, ERROR_NOT_ENOUGH_MEMORY, "no_such_program_for_tesmaru.exe",
       "System error 2\r\n" + lastLine(97)},
  };

  // Counting handles is slow under Wine, so they are counted around all the
  // roads, once a first call, a first search along PATH that finds nothing
  // (Wine 10 keeps what that opens) and a first trace have opened what the
  // process keeps open.
  {
    SCOPED_TRACE("a first call");
    getStdout(twoCommands);
    getStdout("no_such_program_for_tesmaru.exe");
  }
  const int openHandles = kel::test::openHandles();
  for (const Road& road : roads) {
    SCOPED_TRACE(std::string(road.function) + " failing at call " + std::to_string(road.failAt));
    ASSERT_FALSE(systemText(road.error).empty());
    const kel::test::ImportPatch patch(kel::test::tesmaruLibrary().handle(), road.dll, road.function,
                                       road.fake.replacement);
    injection = {patch.original(), road.failAt, 0, road.error, road.fake.failure, 0};
    const std::size_t heapBytes = kel::test::heapBytes();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(getStdout(road.commandLine), road.expected);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_GE(injection.calls, road.failAt) << "the call to fail was never made";
    EXPECT_LE(kel::test::heapBytes(), heapBytes + 64);
    if (std::string(road.function) == "CloseHandle") {
      // The write end that could not be closed is still open, and the test's to close.
      const kel::unique_handle refused(reinterpret_cast<HANDLE>(injection.refusedArgument));
      EXPECT_EQ(::GetFileType(refused.get()), DWORD{FILE_TYPE_PIPE}) << "the write end was refused";
    }
  }
  EXPECT_EQ(kel::test::openHandles(), openHandles);
}

// What the library asked CreateNamedPipeA for, with a squatter that makes
// each name first while `squat` lasts, as a program that guessed it would.
struct PipeWatch {
  void* original = nullptr;
  int squat = 0;
  std::vector<std::string> names;
  std::vector<kel::unique_file_handle> squatters;
  DWORD lastError = 0;
  std::vector<std::string> admitted;  // the SIDs the made pipe's access list admits
};

PipeWatch pipeWatch;

std::string sidText(PSID sid) {
  char* text = nullptr;
  if (!::ConvertSidToStringSidA(sid, &text)) return "?";
  const std::string copy = text;
  ::LocalFree(text);
  return copy;
}

std::vector<std::string> admittedBy(HANDLE pipe) {
  PACL acl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  std::vector<std::string> sids;
  if (::GetSecurityInfo(pipe, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &acl, nullptr,
                        &descriptor) != ERROR_SUCCESS) {
    return {"no access list could be read"};
  }
  for (DWORD i = 0; acl && i < acl->AceCount; ++i) {
    void* ace = nullptr;
    if (!::GetAce(acl, i, &ace)) continue;
    const auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
    if (allowed->Header.AceType != ACCESS_ALLOWED_ACE_TYPE) {
      sids.push_back("an entry of type " + std::to_string(allowed->Header.AceType));
      continue;
    }
    sids.push_back(sidText(const_cast<DWORD*>(&allowed->SidStart)));
  }
  if (!acl) sids.push_back("everyone: no access list");
  ::LocalFree(descriptor);
  return sids;
}

HANDLE WINAPI watchedCreateNamedPipe(LPCSTR name, DWORD openMode, DWORD pipeMode, DWORD instances, DWORD outSize,
                                     DWORD inSize, DWORD timeout, LPSECURITY_ATTRIBUTES security) {
  pipeWatch.names.push_back(name);
  if (pipeWatch.squat > 0) {
    --pipeWatch.squat;
    pipeWatch.squatters.emplace_back(::CreateNamedPipeA(name, PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE,
                                                        PIPE_UNLIMITED_INSTANCES, 4096, 4096, 0, nullptr));
  }
  const auto original = reinterpret_cast<decltype(&::CreateNamedPipeA)>(pipeWatch.original);
  const HANDLE pipe = original(name, openMode, pipeMode, instances, outSize, inSize, timeout, security);
  pipeWatch.lastError = ::GetLastError();
  if (pipe != INVALID_HANDLE_VALUE) pipeWatch.admitted = admittedBy(pipe);
  ::SetLastError(pipeWatch.lastError);
  return pipe;
}

std::string currentUser() {
  HANDLE token = nullptr;
  ::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token);
  const kel::unique_handle owned(token);
  alignas(TOKEN_USER) unsigned char user[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
  DWORD size = 0;
  if (!::GetTokenInformation(token, TokenUser, user, sizeof user, &size)) return "?";
  return sidText(reinterpret_cast<TOKEN_USER*>(user)->User.Sid);
}

TEST(FailureRoads, APipeNameTakenInAdvanceIsPassedOverAndNoNameCanBeGuessed) {
  const kel::test::ImportPatch patch(kel::test::tesmaruLibrary().handle(), "kernel32.dll", "CreateNamedPipeA",
                                     reinterpret_cast<void*>(&watchedCreateNamedPipe));
  pipeWatch = PipeWatch{};
  pipeWatch.original = patch.original();
  const std::string c = child();
  EXPECT_EQ(getStdout(c + " print a"), "a" + lastLine(0));
  // The pipe admits the current user and nobody else.
  EXPECT_EQ(pipeWatch.admitted, std::vector<std::string>{currentUser()});
  pipeWatch.squat = 1;
  EXPECT_EQ(getStdout(c + " print b"), "b" + lastLine(0));
  // Each name holds this process's id and 64 random bits, never the same twice.
  const std::string prefix = "\\\\.\\pipe\\Tesmaru." + std::to_string(::GetCurrentProcessId()) + ".";
  for (const std::string& name : pipeWatch.names) {
    EXPECT_EQ(name.substr(0, prefix.size()), prefix);
    EXPECT_EQ(name.size(), prefix.size() + 16) << name;
    EXPECT_EQ(name.find_first_not_of("0123456789abcdef", prefix.size()), std::string::npos) << name;
  }
  ASSERT_EQ(pipeWatch.names.size(), 3u) << "the name taken was not passed over";
  EXPECT_NE(pipeWatch.names[0], pipeWatch.names[1]);
  EXPECT_NE(pipeWatch.names[1], pipeWatch.names[2]);

  // Names taken again and again: a few are tried, then the system's answer.
  pipeWatch.names.clear();
  pipeWatch.squat = 100;
  const std::optional<std::string> refused = getStdout(c + " print never");
  EXPECT_EQ(refused, systemText(pipeWatch.lastError) + lastLine(97));
  EXPECT_GE(pipeWatch.names.size(), 2u);
  EXPECT_LE(pipeWatch.names.size(), 8u);
  pipeWatch.squatters.clear();
}

// Bytes that PeekNamedPipe counted can vanish before they are read: a helper
// whose write was pending is killed. The stand-in counts 100 more than there are.
BOOL WINAPI overcountingPeek(HANDLE pipe, LPVOID buffer, DWORD size, LPDWORD read, LPDWORD available, LPDWORD left) {
  const auto original = reinterpret_cast<decltype(&::PeekNamedPipe)>(injection.original);
  const BOOL answered = original(pipe, buffer, size, read, available, left);
  if (answered && available) *available += 100;
  return answered;
}

TEST(FailureRoads, BytesThePipeNoLongerHoldsAreNotWaitedFor) {
  const kel::test::ImportPatch patch(kel::test::tesmaruLibrary().handle(), "kernel32.dll", "PeekNamedPipe",
                                     reinterpret_cast<void*>(&overcountingPeek));
  injection = {patch.original()};
  // On a thread, so that a call waiting for ever fails the test instead of hanging it.
  auto answer = std::make_shared<std::promise<std::optional<std::string>>>();
  std::future<std::optional<std::string>> answered = answer->get_future();
  const std::string line = child() + " print a & " + child() + " print b";
  std::thread call([answer, line] { answer->set_value(getStdout(line)); });
  if (answered.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
    call.detach();
    FAIL() << "getSTDOUT still waits for the bytes that never came";
  }
  call.join();
  EXPECT_EQ(answered.get(), "ab" + lastLine(0));
}

}  // namespace
