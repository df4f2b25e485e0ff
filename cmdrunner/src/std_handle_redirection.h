#pragma once
// Points the process's standard output and standard error at a call's pipe
// for as long as the call runs, and sets them back afterwards.

#include <windows.h>

namespace kel::cmdrunner {

// Calls may overlap on several threads. The first to begin saves the
// process's own handles; each later one takes the handles over; one that
// ends hands them to the latest call still running, and the last one to
// end puts the saved handles back. A handle that something else has changed
// meanwhile is left alone.
class StdHandleRedirection {
 public:
  StdHandleRedirection() = default;
  ~StdHandleRedirection();
  StdHandleRedirection(const StdHandleRedirection&) = delete;
  StdHandleRedirection& operator=(const StdHandleRedirection&) = delete;

  // Answers 0, or the platform's error number with nothing changed.
  DWORD begin(HANDLE writeEnd);
  // Sets the handles back; also done by the destructor.
  void end() noexcept;

 private:
  HANDLE writeEnd_ = nullptr;
  bool active_ = false;
};

}  // namespace kel::cmdrunner
