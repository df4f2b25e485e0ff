#pragma once
// One call's pipe: a named pipe of the call's own, that no other program can
// take or open, whose read end is read with overlapped I/O on the calling
// thread while a command runs, so a command never waits for room in the pipe
// and the call waits for its commands alone, never for the end of the pipe:
// a process that outlives its command and holds the write end keeps nothing
// waiting. Every function that can fail answers 0 or the platform's error number.

#include <windows.h>

#include <memory>

#include "kel/unique_handle.h"
#include "result.h"

namespace kel::cmdrunner {

class Pipe {
 public:
  Pipe();
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;

  // Makes the pipe, neither end inheritable: the name is this process's id
  // and 64 bits from the system's random generator, the access list admits
  // the user the calling thread acts as and nobody else.
  DWORD open();

  HANDLE writeEnd() const noexcept { return writeEnd_.get(); }

  // Reads the pipe until `process` has ended, then takes what the pipe held
  // at that moment: everything the process wrote. Only a failed wait is an
  // error; a failed read ends the output. No read is left pending.
  DWORD readUntilEnded(HANDLE process);

  // Closes this process's copy of the write end.
  DWORD closeWriteEnd() noexcept;

  const OutputAccumulator& output() const noexcept { return output_; }

 private:
  void post(DWORD bytes);
  DWORD collect();
  DWORD cancel();
  void settle();
  void stopReading();

  std::unique_ptr<char[]> chunk_;
  OutputAccumulator output_;
  unique_file_handle readEnd_;
  unique_file_handle writeEnd_;
  unique_handle readDone_;
  OVERLAPPED read_{};
  bool posted_ = false;
};

}  // namespace kel::cmdrunner
