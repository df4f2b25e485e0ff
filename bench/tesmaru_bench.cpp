// Figures for getSTDOUT against the plainest way of doing the same work, in
// one process, on the same child program. Prints ratios; asserts nothing.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "loaded_library.h"
#include "test_jni_env.h"
#include "test_paths.h"

namespace {

using Clock = std::chrono::steady_clock;
using GetStdout = jstring JNICALL(JNIEnv*, jobject, jstring);

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct Comparison {
  double ours;      // median time in milliseconds
  double baseline;  // median time in milliseconds
  double ratio;     // median of the rounds' ratios
  double lowest;
  double highest;
};

// `rounds` rounds of `pairs` runs of `ours` and `baseline` by turns, so that
// drift in the machine's speed touches both alike. Each round gives the ratio
// of its medians; the spread of those ratios shows how much of a difference
// is noise.
Comparison compare(const std::function<void()>& ours, const std::function<void()>& baseline) {
  constexpr int rounds = 7;
  constexpr int pairs = 5;
  std::vector<double> oursTimes, baselineTimes, ratios;
  auto time = [](const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  };
  for (int round = 0; round < rounds; ++round) {
    std::vector<double> oursRound, baselineRound;
    for (int i = 0; i < pairs; ++i) {
      oursRound.push_back(time(ours));
      baselineRound.push_back(time(baseline));
    }
    ratios.push_back(median(oursRound) / median(baselineRound));
    oursTimes.insert(oursTimes.end(), oursRound.begin(), oursRound.end());
    baselineTimes.insert(baselineTimes.end(), baselineRound.begin(), baselineRound.end());
  }
  return {median(oursTimes), median(baselineTimes), median(ratios), *std::min_element(ratios.begin(), ratios.end()),
          *std::max_element(ratios.begin(), ratios.end())};
}

// Starts the command with `output` (or nothing) as its standard output, waits for it.
PROCESS_INFORMATION start(const std::string& command, HANDLE output) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = output ? STARTF_USESTDHANDLES : 0;
  startup.hStdOutput = output;
  startup.hStdError = output;
  PROCESS_INFORMATION info{};
  std::string text = command;
  if (!::CreateProcessA(nullptr, text.data(), nullptr, nullptr, output != nullptr, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &info)) {
    std::fprintf(stderr, "cannot start %s\n", command.c_str());
    std::exit(1);
  }
  return info;
}

void bareRun(const std::string& command) {
  const PROCESS_INFORMATION info = start(command, nullptr);
  ::WaitForSingleObject(info.hProcess, INFINITE);
  ::CloseHandle(info.hThread);
  ::CloseHandle(info.hProcess);
}

// Bare starts with their output on one pipe that nobody reads (the child
// writes nothing): what a child with its output captured costs under Wine.
void pipedRuns(const std::string& command, int count) {
  SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  ::CreatePipe(&read, &write, &attributes, 0x20000);
  for (int i = 0; i < count; ++i) {
    const PROCESS_INFORMATION info = start(command, write);
    ::WaitForSingleObject(info.hProcess, INFINITE);
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
  }
  ::CloseHandle(write);
  ::CloseHandle(read);
}

// The plain loop: one pipe, one child, read until the end, then wait.
std::size_t plainCapture(const std::string& command) {
  SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, TRUE};
  HANDLE read = nullptr, write = nullptr;
  ::CreatePipe(&read, &write, &attributes, 0x20000);
  ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
  const PROCESS_INFORMATION info = start(command, write);
  ::CloseHandle(write);
  std::vector<char> chunk(65536);
  std::size_t total = 0;
  DWORD count = 0;
  while (::ReadFile(read, chunk.data(), static_cast<DWORD>(chunk.size()), &count, nullptr) && count > 0) total += count;
  ::WaitForSingleObject(info.hProcess, INFINITE);
  ::CloseHandle(info.hThread);
  ::CloseHandle(info.hProcess);
  ::CloseHandle(read);
  return total;
}

std::size_t peakPrivateBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
  return counters.PeakPagefileUsage;
}

}  // namespace

int main() {
  kel::test::LoadedLibrary library(kel::test::tesmaruDll());
  auto* getStdout = library.get<GetStdout>("Java_com_vum_kel_util_WindowsCommandCenter_getSTDOUT");
  kel::test::TestJniEnv jni;
  const std::string child = kel::test::child();
  auto call = [&](const std::string& line) {
    if (!getStdout(jni.env(), nullptr, jni.javaString(line))) std::exit(1);
  };

  std::string ten = child;
  for (int i = 1; i < 10; ++i) ten += " & " + child;
  call(child);
  bareRun(child);

  std::printf("%-40s %10s %10s %6s %13s %6s\n", "case", "getSTDOUT", "baseline", "ratio", "lowest-highest",
              "target");
  auto row = [](const char* name, const Comparison& c, double target) {
    std::printf("%-40s %8.2fms %8.2fms %6.3f %6.3f-%6.3f %6s\n", name, c.ours, c.baseline, c.ratio, c.lowest, c.highest,
                target > 0 ? std::to_string(target).substr(0, 4).c_str() : "-");
  };
  row("one command vs bare start+wait", compare([&] { call(child); }, [&] { bareRun(child); }), 1.05);
  row("ten commands vs ten bare starts",
      compare([&] { call(ten); }, [&] { for (int i = 0; i < 10; ++i) bareRun(child); }), 1.05);
  std::printf("the same against baselines whose children write to a pipe (no target; where the time goes)\n");
  row("one command vs plain read loop", compare([&] { call(child); }, [&] { plainCapture(child); }), 0);
  row("ten commands vs ten starts onto a pipe", compare([&] { call(ten); }, [&] { pipedRuns(child, 10); }), 0);
  for (const auto& [name, bytes] : {std::pair{"capture 64 KiB vs plain read loop", "65536"},
                                    std::pair{"capture 10 MB vs plain read loop", "10000000"}}) {
    const std::string command = child + " out " + bytes;
    row(name, compare([&] { call(command); }, [&] { plainCapture(command); }), 1.10);
  }

  std::printf("\npeak private memory (PeakPagefileUsage) after capturing\n");
  for (const auto& [name, bytes] : {std::pair{"1 KB", "1000"}, std::pair{"1 MB", "1000000"},
                                    std::pair{"100 MB", "100000000"}}) {
    call(child + " out " + bytes);
    std::printf("  %-8s %10.1f KiB\n", name, peakPrivateBytes() / 1024.0);
  }
  return 0;
}
