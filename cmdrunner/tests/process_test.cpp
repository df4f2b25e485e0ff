// What a call leaves behind in the process: standard handles, open handles,
// and calls on several threads at once.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>

#include "kel/unique_handle.h"
#include "process_resources.h"
#include "tesmaru_call.h"

namespace {

using kel::test::child;
using kel::test::getStdout;
using kel::test::lastLine;
using kel::test::openHandles;
using kel::test::StandardHandles;

TEST(Process, StandardHandlesAreSetBackOnEveryRoad) {
  const StandardHandles before;
  for (const std::string& line : {child() + " print x", child() + " exit 3", std::string("no_such_program.exe"),
                                  child() + " out 70000", std::string(" & ")}) {
    getStdout(line);
    EXPECT_EQ(StandardHandles(), before) << line;
  }
}

TEST(Process, WhatTheProcessWritesDuringACallIsCaptured) {
  const StandardHandles before;
  std::thread writer([] {
    ::Sleep(150);
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), "side", 4, &written, nullptr);
  });
  const std::optional<std::string> result = getStdout(child() + " sleep 600 print done");
  writer.join();
  EXPECT_EQ(result, "sidedone" + lastLine(0));
  EXPECT_EQ(StandardHandles(), before);
}

TEST(Process, NothingStaysOpenAfterManyCalls) {
  // Every road that makes a pipe: a child with a cut output, a refused
  // command, a failed start (slow under Wine, so rarer); and one that makes
  // none. Child starts are slow under Wine too, hence one call in four.
  const std::string tooLong = child() + std::string(40000, 'x');
  const std::string lines[] = {child() + " out 70000 exit 2", tooLong, " & ", tooLong + " & " + child(),
                               "no_such_program.exe"};
  getStdout(lines[0]);
  const int before = openHandles();
  const HANDLE probe = ::CreateEventA(nullptr, FALSE, FALSE, nullptr);
  ASSERT_EQ(openHandles(), before + 1);  // the count does see one more handle
  ::CloseHandle(probe);
  for (int call = 0; call < 200; ++call) getStdout(lines[call % 20 == 0 ? 4 : call % 4]);
  EXPECT_EQ(openHandles(), before);
}

TEST(Process, ConcurrentCallsEachGetTheirOwnOutput) {
  const StandardHandles before;
  for (int round = 0; round < 6; ++round) {
    // Alternate which call ends first, so both orders of handing back occur.
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
    EXPECT_EQ(StandardHandles(), before);
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
