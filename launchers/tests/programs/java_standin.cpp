// Test stand-in for the toolkit's Java runtime (built as java.exe): prints the
// command line it received, records it with its arguments in the file named
// by KEL_STANDIN_RECORD (each entry ended by a NUL byte: the raw command line,
// then argv[0], argv[1], ...), and exits with KEL_STANDIN_EXIT (default 0).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  const char* commandLine = ::GetCommandLineA();
  std::printf("java stand-in received: %s\n", commandLine);
  if (const char* recordPath = std::getenv("KEL_STANDIN_RECORD")) {
    if (std::FILE* record = std::fopen(recordPath, "wb")) {
      std::fwrite(commandLine, 1, std::strlen(commandLine) + 1, record);
      for (int i = 0; i < argc; ++i) std::fwrite(argv[i], 1, std::strlen(argv[i]) + 1, record);
      std::fclose(record);
    }
  }
  const char* exitCode = std::getenv("KEL_STANDIN_EXIT");
  return exitCode ? std::atoi(exitCode) : 0;
}
