#include "pipe_reader.h"

#include <algorithm>
#include <atomic>
#include <string>

namespace kel::cmdrunner {

namespace {

// Unique on the machine: this process's id and a count of its pipes.
std::string uniquePipeName() {
  static std::atomic<unsigned long> made{0};
  return "\\\\.\\pipe\\Tesmaru." + std::to_string(::GetCurrentProcessId()) + "." + std::to_string(made++);
}

}  // namespace

PipeReader::PipeReader() : chunk_(new char[chunkSize]) {}

DWORD PipeReader::open() {
  const std::string name = uniquePipeName();
  // A single instance that must be the first of its name: nobody else serves
  // this pipe, and once the write end below is open nobody else can open it.
  readEnd_.reset(::CreateNamedPipeA(name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                    PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 0,
                                    pipeSize, 0, nullptr));
  if (!readEnd_) return ::GetLastError();
  // Not overlapped, with the rights an anonymous pipe's write end has: the
  // commands write to it as to any standard output.
  writeEnd_.reset(
      ::CreateFileA(name.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!writeEnd_) return ::GetLastError();
  readDone_.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!readDone_) return ::GetLastError();
  return 0;
}

bool PipeReader::closeWriteEnd() noexcept { return ::CloseHandle(writeEnd_.release()); }

DWORD PipeReader::readUntilEnded(HANDLE process) {
  post(chunkSize);
  DWORD error = 0;
  for (;;) {
    // The process comes first, so a writer that never pauses cannot hide its end.
    const HANDLE events[] = {process, readDone_.get()};
    const DWORD result = ::WaitForMultipleObjects(posted_ ? 2 : 1, events, FALSE, INFINITE);
    if (result == WAIT_FAILED) {
      error = ::GetLastError();
      break;
    }
    if (result != WAIT_OBJECT_0 + 1) break;
    collect();
    post(chunkSize);
  }
  settle();
  return error;
}

void PipeReader::post(DWORD bytes) {
  if (!readEnd_) return;
  read_ = OVERLAPPED{};
  read_.hEvent = readDone_.get();
  if (::ReadFile(readEnd_.get(), chunk_.get(), bytes, nullptr, &read_) || ::GetLastError() == ERROR_IO_PENDING) {
    posted_ = true;
  } else {
    stopReading();
  }
}

// Waits for the posted read to finish and keeps what it brought; answers the
// count of bytes.
DWORD PipeReader::collect() {
  DWORD count = 0;
  if (::GetOverlappedResult(readEnd_.get(), &read_, &count, TRUE)) {
    posted_ = false;
    output_.append(chunk_.get(), count);
    return count;
  }
  if (::GetLastError() == ERROR_OPERATION_ABORTED) {
    posted_ = false;  // cancelled before anything came
  } else {
    stopReading();
  }
  return 0;
}

// Once the process has ended, all it wrote is in the posted read or waiting
// in the pipe. Takes both, but no more than the pipe held at that moment, so
// a process that outlives its command cannot keep the call reading.
void PipeReader::settle() {
  if (posted_) {
    if (::CancelIo(readEnd_.get())) {
      collect();
    } else {
      stopReading();
    }
  }
  if (!readEnd_) return;
  DWORD waiting = 0;
  if (!::PeekNamedPipe(readEnd_.get(), nullptr, 0, nullptr, &waiting, nullptr)) {
    stopReading();
    return;
  }
  while (waiting > 0) {
    post(std::min(waiting, chunkSize));
    if (!posted_) return;
    const DWORD count = collect();
    if (count == 0) return;
    waiting -= std::min(count, waiting);
  }
}

// A failed read ends the output. Closing the read end makes later writes to
// the pipe fail at once instead of waiting for room that never comes, and
// ends a posted read, whose buffer is free only once it has ended.
void PipeReader::stopReading() {
  readEnd_.reset();
  if (posted_) ::WaitForSingleObject(readDone_.get(), INFINITE);
  posted_ = false;
}

}  // namespace kel::cmdrunner
