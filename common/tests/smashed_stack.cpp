// Test program: its standard error is a pipe that is full and that nobody
// reads, as a VM's output can be, and then it smashes its own stack. Its
// stack check has to end it with 0xC0000409 all the same, without waiting
// to write a line there.
#include <windows.h>

#include <atomic>
#include <cstring>
#include <thread>

namespace {

std::atomic<unsigned long> written{0};

// Writes to `pipe` until a write no longer completes.
void fill(HANDLE pipe) {
  const char byte = 'x';
  DWORD count = 0;
  while (::WriteFile(pipe, &byte, 1, &count, nullptr)) ++written;
}

// Byte by byte, so that no fortified copy catches it before the canary does.
__attribute__((noinline)) void smash(const char* text, std::size_t length) {
  char buffer[8];
  for (std::size_t i = 0; i < length; ++i) buffer[i] = text[i];
  ::OutputDebugStringA(buffer);
}

}  // namespace

int main() {
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!::CreatePipe(&readEnd, &writeEnd, nullptr, 4096)) return 2;
  std::thread(fill, writeEnd).detach();
  for (unsigned long before = ~0ul; before != written;) {
    before = written;
    ::Sleep(200);
  }
  ::SetStdHandle(STD_ERROR_HANDLE, writeEnd);
  static char longText[256];
  std::memset(longText, 'A', sizeof longText - 1);
  // The length is not known to the compiler, so only the canary can catch it.
  volatile std::size_t length = sizeof longText;
  smash(longText, length);
  return 0;
}
