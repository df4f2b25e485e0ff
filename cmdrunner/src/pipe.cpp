#include "pipe.h"

#include <ntsecapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>

namespace kel::cmdrunner {

namespace {

constexpr DWORD CHUNK_SIZE = 65536;
constexpr DWORD PIPE_SIZE = 0x20000;

// A name that exists anyway (made by another program, by chance or not) is
// passed over for a fresh one, this many times in all.
constexpr int NAMES_TRIED = 4;

// How long the last reads after a command may take: what is in the pipe
// comes at once, so only a read waiting for bytes that will never come (a
// writer killed while its write was pending) takes this long.
constexpr DWORD FINAL_READ_LIMIT_MS = 500;

// The pipe's name: this process's id beside 64 bits from the system's random
// generator, so that no other program can make it first.
DWORD pipeName(std::string& name) {
  std::uint64_t random = 0;
  // RtlGenRandom sets no error number of its own: a failure's, if it left one.
  ::SetLastError(0);
  if (!::RtlGenRandom(&random, sizeof random)) return ::GetLastError() ? ::GetLastError() : DWORD{ERROR_GEN_FAILURE};
  char text[64];
  std::snprintf(text, sizeof text, "\\\\.\\pipe\\Tesmaru.%lu.%016llx", static_cast<unsigned long>(::GetCurrentProcessId()),
                static_cast<unsigned long long>(random));
  name = text;
  return 0;
}

// A security descriptor whose one entry grants all access to the user the
// calling thread acts as, and nobody else.
class OwnerOnlyDescriptor {
 public:
  OwnerOnlyDescriptor() = default;
  OwnerOnlyDescriptor(const OwnerOnlyDescriptor&) = delete;
  OwnerOnlyDescriptor& operator=(const OwnerOnlyDescriptor&) = delete;

  DWORD build() {
    // A thread acting for another user creates and opens the pipe as that user.
    unique_handle token;
    if (!::OpenThreadToken(::GetCurrentThread(), TOKEN_QUERY, TRUE, token.put())) {
      if (::GetLastError() != ERROR_NO_TOKEN) return ::GetLastError();
      if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return ::GetLastError();
    }
    DWORD size = 0;
    if (!::GetTokenInformation(token.get(), TokenUser, user_, sizeof user_, &size)) return ::GetLastError();
    const PSID sid = reinterpret_cast<TOKEN_USER*>(user_)->User.Sid;
    auto* acl = reinterpret_cast<ACL*>(acl_);
    if (!::InitializeAcl(acl, sizeof acl_, ACL_REVISION)) return ::GetLastError();
    if (!::AddAccessAllowedAce(acl, ACL_REVISION, GENERIC_ALL, sid)) return ::GetLastError();
    // An absolute descriptor whose only access list is the one above.
    descriptor_.Revision = SECURITY_DESCRIPTOR_REVISION;
    descriptor_.Control = SE_DACL_PRESENT | SE_DACL_PROTECTED;
    descriptor_.Dacl = acl;
    attributes_ = SECURITY_ATTRIBUTES{sizeof attributes_, &descriptor_, FALSE};
    return 0;
  }

  SECURITY_ATTRIBUTES* attributes() noexcept { return &attributes_; }

 private:
  // A TOKEN_USER with the largest SID, kept aligned for both.
  alignas(TOKEN_USER) unsigned char user_[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE]{};
  alignas(ACL) unsigned char acl_[sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + SECURITY_MAX_SID_SIZE]{};
  SECURITY_DESCRIPTOR descriptor_{};
  SECURITY_ATTRIBUTES attributes_{};
};

}  // namespace

Pipe::Pipe() : chunk_(new char[CHUNK_SIZE]) {}

DWORD Pipe::open() {
  OwnerOnlyDescriptor security;
  if (const DWORD error = security.build()) return error;
  std::string name;
  DWORD error = 0;
  for (int attempt = 0; attempt < NAMES_TRIED; ++attempt) {
    if (const DWORD failed = pipeName(name)) return failed;
    // A single instance that must be the first of its name: nobody else
    // serves this pipe, and once the write end below is open nobody else can
    // open it.
    readEnd_.reset(::CreateNamedPipeA(name.c_str(),
                                      PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                      PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1,
                                      0, PIPE_SIZE, 0, security.attributes()));
    if (readEnd_) break;
    error = ::GetLastError();
    // Windows answers access denied for a name that exists, Wine pipe busy.
    if (error != ERROR_ACCESS_DENIED && error != ERROR_PIPE_BUSY) return error;
  }
  if (!readEnd_) return error;
  // Not overlapped, with the rights an anonymous pipe's write end has: the
  // commands write to it as to any standard output.
  writeEnd_.reset(
      ::CreateFileA(name.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!writeEnd_) return ::GetLastError();
  readDone_.reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!readDone_) return ::GetLastError();
  return 0;
}

DWORD Pipe::closeWriteEnd() noexcept { return ::CloseHandle(writeEnd_.release()) ? 0 : ::GetLastError(); }

DWORD Pipe::readUntilEnded(HANDLE process) {
  // Whatever arrives while this command is read, a helper of an earlier one
  // included, is decoded with this command's output.
  output_.beginPart();
  post(CHUNK_SIZE);
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
    post(CHUNK_SIZE);
  }
  settle();
  return error;
}

void Pipe::post(DWORD bytes) {
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
DWORD Pipe::collect() {
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

// Ends the posted read at once and keeps what it had brought.
DWORD Pipe::cancel() {
  if (!::CancelIoEx(readEnd_.get(), &read_) && ::GetLastError() != ERROR_NOT_FOUND) {
    stopReading();
    return 0;
  }
  return collect();
}

// Once the process has ended, all it wrote is in the posted read or waiting
// in the pipe. Takes both, but no more than the pipe held at that moment, so
// a process that outlives its command cannot keep the call reading, and
// gives each read a time limit: bytes the pipe counted may never come, when
// their writer is killed while its write is pending.
void Pipe::settle() {
  if (posted_) cancel();
  if (!readEnd_) return;
  DWORD waiting = 0;
  if (!::PeekNamedPipe(readEnd_.get(), nullptr, 0, nullptr, &waiting, nullptr)) {
    stopReading();
    return;
  }
  const ULONGLONG deadline = ::GetTickCount64() + FINAL_READ_LIMIT_MS;
  while (waiting > 0) {
    post(std::min(waiting, CHUNK_SIZE));
    if (!posted_) return;
    const ULONGLONG now = ::GetTickCount64();
    const DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
    const DWORD count = ::WaitForSingleObject(readDone_.get(), left) == WAIT_OBJECT_0 ? collect() : cancel();
    if (count == 0) return;
    waiting -= std::min(count, waiting);
  }
}

// A failed read ends the output. Closing the read end makes later writes to
// the pipe fail at once instead of waiting for room that never comes, and
// ends a posted read, whose buffer is free only once it has ended.
void Pipe::stopReading() {
  readEnd_.reset();
  if (posted_) ::WaitForSingleObject(readDone_.get(), INFINITE);
  posted_ = false;
}

}  // namespace kel::cmdrunner
