#pragma once
// One call's pipe: a named pipe of the call's own whose read end is read with
// overlapped I/O on the calling thread while a command runs, so a command
// never waits for room in the pipe, and the call waits for its commands
// alone, never for the end of the pipe: a process that outlives its command
// and holds the write end keeps nothing waiting.

#include <windows.h>

#include <memory>

#include "kel/unique_handle.h"
#include "output_accumulator.h"

namespace kel::cmdrunner {

class PipeReader {
 public:
  PipeReader();
  PipeReader(const PipeReader&) = delete;
  PipeReader& operator=(const PipeReader&) = delete;

  // Makes the pipe, neither end inheritable. Answers 0, or the platform's
  // error number.
  DWORD open();

  HANDLE writeEnd() const noexcept { return writeEnd_.get(); }
  HANDLE readEnd() const noexcept { return readEnd_.get(); }

  // Reads the pipe until `process` has ended, then takes what the pipe held
  // at that moment: everything the process wrote. Answers 0, or the
  // platform's error number when waiting failed. No read is left pending.
  DWORD readUntilEnded(HANDLE process);

  // Closes this process's copy of the write end; the platform's answer.
  bool closeWriteEnd() noexcept;

  const OutputAccumulator& output() const noexcept { return output_; }

 private:
  void post(DWORD bytes);
  DWORD collect();
  DWORD cancel();
  void settle();
  void stopReading();

  static constexpr DWORD chunkSize = 65536;
  static constexpr DWORD pipeSize = 0x20000;

  std::unique_ptr<char[]> chunk_;
  OutputAccumulator output_;
  unique_file_handle readEnd_;
  unique_file_handle writeEnd_;
  unique_handle readDone_;
  OVERLAPPED read_{};
  bool posted_ = false;
};

}  // namespace kel::cmdrunner
