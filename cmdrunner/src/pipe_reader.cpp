#include "pipe_reader.h"

namespace kel::cmdrunner {

PipeReader::PipeReader() : chunk_(new char[chunkSize]) {}

PipeReader::~PipeReader() { finish(); }

DWORD PipeReader::open() {
  SECURITY_ATTRIBUTES attributes{};
  attributes.nLength = sizeof attributes;
  attributes.bInheritHandle = FALSE;
  if (!::CreatePipe(readEnd_.put(), writeEnd_.put(), &attributes, pipeSize)) return ::GetLastError();
  reader_.reset(::CreateThread(nullptr, 0, &drain, this, 0, nullptr));
  if (!reader_) return ::GetLastError();
  return 0;
}

bool PipeReader::closeWriteEnd() noexcept { return ::CloseHandle(writeEnd_.release()); }

const OutputAccumulator& PipeReader::finish() noexcept {
  writeEnd_.reset();
  if (reader_) {
    ::WaitForSingleObject(reader_.get(), INFINITE);
    reader_.reset();
  }
  readEnd_.reset();
  return output_;
}

DWORD WINAPI PipeReader::drain(void* self) {
  auto& reader = *static_cast<PipeReader*>(self);
  DWORD count = 0;
  // A failed read is the end of the output: the pipe is broken once every
  // holder of the write end has closed it.
  while (::ReadFile(reader.readEnd_.get(), reader.chunk_.get(), chunkSize, &count, nullptr) && count > 0) {
    reader.output_.append(reader.chunk_.get(), count);
  }
  return 0;
}

}  // namespace kel::cmdrunner
