#include "std_handle_redirection.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace kel::cmdrunner {

namespace {

struct Redirections {
  std::mutex mutex;
  HANDLE savedOutput = nullptr;
  HANDLE savedError = nullptr;
  std::vector<HANDLE> active;  // write ends of the running calls, oldest first
};

Redirections& redirections() {
  static Redirections state;
  return state;
}

// Replaces `which` only while it still names `current`.
void handOver(DWORD which, HANDLE current, HANDLE next) {
  if (::GetStdHandle(which) == current) ::SetStdHandle(which, next);
}

}  // namespace

DWORD StdHandleRedirection::begin(HANDLE writeEnd) {
  Redirections& state = redirections();
  std::lock_guard lock(state.mutex);
  state.active.reserve(state.active.size() + 1);
  const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
  const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
  if (!::SetStdHandle(STD_OUTPUT_HANDLE, writeEnd)) return ::GetLastError();
  if (!::SetStdHandle(STD_ERROR_HANDLE, writeEnd)) {
    const DWORD failure = ::GetLastError();
    ::SetStdHandle(STD_OUTPUT_HANDLE, output);
    return failure;
  }
  if (state.active.empty()) {
    state.savedOutput = output;
    state.savedError = error;
  }
  state.active.push_back(writeEnd);
  writeEnd_ = writeEnd;
  active_ = true;
  return 0;
}

void StdHandleRedirection::end() noexcept {
  if (!active_) return;
  active_ = false;
  Redirections& state = redirections();
  std::lock_guard lock(state.mutex);
  state.active.erase(std::find(state.active.begin(), state.active.end(), writeEnd_));
  const bool last = state.active.empty();
  handOver(STD_OUTPUT_HANDLE, writeEnd_, last ? state.savedOutput : state.active.back());
  handOver(STD_ERROR_HANDLE, writeEnd_, last ? state.savedError : state.active.back());
}

StdHandleRedirection::~StdHandleRedirection() { end(); }

}  // namespace kel::cmdrunner
