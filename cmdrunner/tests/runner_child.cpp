// A child program for the tests and the benchmark. It carries out its
// arguments in order:
//   print TEXT    TEXT on standard output      err TEXT    TEXT on standard error
//   out N         N bytes 'a'..'z' repeating   bytes HEX   the bytes HEX spells
//   utf16 TEXT    TEXT as UTF-16LE
//   cmdline       its command line as [..], and ends with 0
//   cmdlen        the characters of its command line, and ends with 0
//   hexcmdline    the modified UTF-8 of its UTF-16 command line in hex (so
//                 every code unit shows), and ends with 0
//   set H         sets the event whose handle value is H, if it has one
//   sleep MS      waits                        touch FILE  creates FILE
//   exit N        ends with N (taken modulo 2^32, so -1 and 0xFFFFFFFF agree)
//   spawn ACTIONS starts a copy of itself that carries out ACTIONS (one
//                 argument) with this one's standard output and error
//                 inherited, prints "spawned PID;" and goes on without waiting
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "kel/text_encoding.h"
#include "kel/unique_handle.h"

namespace {

void write(DWORD which, const std::string& bytes) {
  const HANDLE handle = ::GetStdHandle(which);
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 16));
    if (!::WriteFile(handle, bytes.data() + done, size, &written, nullptr)) ::ExitProcess(200);
    done += written;
  }
}

void writeCycle(unsigned long long count) {
  std::string block(1 << 16, '\0');
  unsigned long long position = 0;
  while (position < count) {
    const std::size_t size = static_cast<std::size_t>(std::min<unsigned long long>(count - position, block.size()));
    block.resize(size);
    for (std::size_t i = 0; i < size; ++i) block[i] = static_cast<char>('a' + (position + i) % 26);
    write(STD_OUTPUT_HANDLE, block);
    position += size;
  }
}

std::string fromHex(const char* hex) {
  std::string bytes;
  for (std::size_t i = 0; hex[i] && hex[i + 1]; i += 2) {
    const char pair[3] = {hex[i], hex[i + 1], 0};
    bytes += static_cast<char>(std::strtoul(pair, nullptr, 16));
  }
  return bytes;
}

std::string utf16(const char* text) {
  std::string bytes;
  for (; *text; ++text) {
    bytes += *text;
    bytes += '\0';
  }
  return bytes;
}

void spawn(const char* actions) {
  char self[MAX_PATH];
  const DWORD length = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string line = "\"" + std::string(self, length) + "\" " + actions;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION info{};
  if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &info)) {
    ::ExitProcess(202);
  }
  const kel::unique_handle thread(info.hThread);
  const kel::unique_handle process(info.hProcess);
  write(STD_OUTPUT_HANDLE, "spawned " + std::to_string(info.dwProcessId) + ";");
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string action = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : "";
    if (action == "cmdline") {
      write(STD_OUTPUT_HANDLE, std::string("[") + ::GetCommandLineA() + "]");
      return 0;
    }
    if (action == "hexcmdline") {
      std::string hex;
      const auto* line = reinterpret_cast<const char16_t*>(::GetCommandLineW());
      for (const unsigned char byte : kel::text::encodeModifiedUtf8(line)) {
        hex += "0123456789ABCDEF"[byte >> 4];
        hex += "0123456789ABCDEF"[byte & 15];
      }
      write(STD_OUTPUT_HANDLE, hex);
      return 0;
    }
    if (action == "cmdlen") {
      write(STD_OUTPUT_HANDLE, "cmdlen:" + std::to_string(std::wcslen(::GetCommandLineW())));
      return 0;
    }
    ++i;
    if (action == "print") write(STD_OUTPUT_HANDLE, value);
    else if (action == "err") write(STD_ERROR_HANDLE, value);
    else if (action == "out") writeCycle(std::strtoull(value, nullptr, 10));
    else if (action == "bytes") write(STD_OUTPUT_HANDLE, fromHex(value));
    else if (action == "utf16") write(STD_OUTPUT_HANDLE, utf16(value));
    else if (action == "sleep") ::Sleep(std::strtoul(value, nullptr, 10));
    else if (action == "touch") ::CloseHandle(::CreateFileA(value, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    else if (action == "spawn") spawn(value);
    else if (action == "set") ::SetEvent(reinterpret_cast<HANDLE>(std::strtoull(value, nullptr, 0)));
    else if (action == "exit") ::ExitProcess(static_cast<UINT>(std::strtoll(value, nullptr, 0)));
    else return 201;
  }
  return 0;
}
