#pragma once
// One call's pipe, drained by a thread of its own from the moment it is made,
// so a command never waits for room in the pipe however much it writes.

#include <windows.h>

#include <memory>

#include "kel/unique_handle.h"
#include "output_accumulator.h"

namespace kel::cmdrunner {

class PipeReader {
 public:
  PipeReader();
  // Closes the write end if still open, waits for the end of the output and
  // closes the read end.
  ~PipeReader();
  PipeReader(const PipeReader&) = delete;
  PipeReader& operator=(const PipeReader&) = delete;

  // Makes the pipe, neither end inheritable, and starts draining it.
  // Answers 0, or the platform's error number.
  DWORD open();

  HANDLE writeEnd() const noexcept { return writeEnd_.get(); }
  HANDLE readEnd() const noexcept { return readEnd_.get(); }

  // Closes this process's copy of the write end; the platform's answer.
  bool closeWriteEnd() noexcept;

  // Waits until every holder of the write end has closed it and answers all
  // that was read.
  const OutputAccumulator& finish() noexcept;

 private:
  static DWORD WINAPI drain(void* self);

  static constexpr DWORD chunkSize = 65536;
  static constexpr DWORD pipeSize = 0x20000;

  std::unique_ptr<char[]> chunk_;
  OutputAccumulator output_;
  unique_handle readEnd_;
  unique_handle writeEnd_;
  unique_handle reader_;
};

}  // namespace kel::cmdrunner
