#pragma once
// Calls getSTDOUT of the built library through the test JNI environment and
// checks, on every call, that each string lent out was released once.

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "kel/text_encoding.h"
#include "loaded_library.h"
#include "test_jni_env.h"
#include "test_paths.h"

namespace kel::test {

using GetStdout = jstring JNICALL(JNIEnv*, jobject, jstring);

inline const LoadedLibrary& tesmaruLibrary() {
  static const LoadedLibrary library(tesmaruDll());
  return library;
}

inline GetStdout* getStdoutExport() {
  static GetStdout* function = tesmaruLibrary().get<GetStdout>("Java_com_vum_kel_util_WindowsCommandCenter_getSTDOUT");
  return function;
}

// The result text, or nullopt when getSTDOUT answered null.
inline std::optional<std::string> getStdout(TestJniEnv& jni, std::string_view commandLine) {
  const int releasesBefore = jni.releaseStringUTFCharsCalls();
  const int getsBefore = jni.getStringUTFCharsCalls();
  jstring result = getStdoutExport()(jni.env(), nullptr, jni.javaString(commandLine));
  EXPECT_EQ(jni.getStringUTFCharsCalls() - getsBefore, 1);
  EXPECT_EQ(jni.releaseStringUTFCharsCalls() - releasesBefore, 1);
  EXPECT_EQ(jni.unreleased(), 0);
  EXPECT_TRUE(jni.misuses().empty());
  if (!result) return std::nullopt;
  return jni.text(result);
}

inline std::optional<std::string> getStdout(std::string_view commandLine) {
  TestJniEnv jni;
  return getStdout(jni, commandLine);
}

inline std::string lastLine(int code) { return "\nThe highest return code is " + std::to_string(code); }

// What the system says for an error number, fetched the way the library does
// and, as the library hands it to Java, in modified UTF-8.
inline std::string systemText(DWORD error) {
  wchar_t* text = nullptr;
  ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
                   nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPWSTR>(&text), 0,
                   nullptr);
  const std::string copy = text ? kel::text::encodeModifiedUtf8(reinterpret_cast<const char16_t*>(text)) : "";
  ::LocalFree(text);
  return copy;
}

// The first `count` bytes the child's `out` action writes.
inline std::string cycle(std::size_t count) {
  std::string bytes(count, '\0');
  for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>('a' + i % 26);
  return bytes;
}

}  // namespace kel::test
