// Test helper standing in for a running IDE: holds WORKSPACE\.metadata\.lock
// open with no sharing until the file RELEASE exists (or two minutes pass).
// Usage: hold_workspace_lock.exe WORKSPACE RELEASE
#include <windows.h>

#include <cstdio>
#include <string>

#include "kel/unique_handle.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::puts("usage: hold_workspace_lock WORKSPACE RELEASE");
    return 2;
  }
  const std::string metadata = std::string(argv[1]) + "\\.metadata";
  ::CreateDirectoryA(metadata.c_str(), nullptr);
  const kel::unique_file_handle lock(::CreateFileA((metadata + "\\.lock").c_str(), GENERIC_WRITE, 0,
                                                   nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!lock) {
    std::printf("could not hold %s\\.lock (error %lu)\n", metadata.c_str(), ::GetLastError());
    return 1;
  }
  std::printf("holding %s\\.lock\n", metadata.c_str());
  std::fflush(stdout);
  for (int waited = 0; waited < 120000; waited += 50) {
    if (::GetFileAttributesA(argv[2]) != INVALID_FILE_ATTRIBUTES) break;
    ::Sleep(50);
  }
  return 0;
}
