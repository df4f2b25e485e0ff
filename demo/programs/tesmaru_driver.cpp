// Loads Tesmaru.dll by path and calls getSTDOUT with the given argument, as
// the Java class does; prints the answer. Without an argument it passes a
// null string.
// Usage: tesmaru_driver DLL [COMMAND_LINE]
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

#include "loaded_library.h"
#include "test_jni_env.h"

using GetStdout = jstring JNICALL(JNIEnv*, jobject, jstring);

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tesmaru_driver DLL [COMMAND_LINE]\n");
    return 2;
  }
  // The result goes out byte for byte, line ends unchanged.
  _setmode(_fileno(stdout), _O_BINARY);
  try {
    kel::test::LoadedLibrary library(argv[1]);
    auto* getStdout = library.get<GetStdout>("Java_com_vum_kel_util_WindowsCommandCenter_getSTDOUT");
    kel::test::TestJniEnv jni;
    jstring argument = argc > 2 ? jni.javaString(argv[2]) : nullptr;
    jstring result = getStdout(jni.env(), nullptr, argument);
    if (result) {
      const std::string text = jni.text(result);
      std::fwrite(text.data(), 1, text.size(), stdout);
      std::fputc('\n', stdout);
    } else {
      std::puts("(null)");
    }
    if (jni.unreleased() != 0 || !jni.misuses().empty()) {
      std::fprintf(stderr, "JNI misuse by the library\n");
      return 1;
    }
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tesmaru_driver: %s\n", e.what());
    return 2;
  }
}
