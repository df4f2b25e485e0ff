#pragma once
// A JNI environment for testing native methods without a Java VM.
//
// Only GetStringUTFChars, ReleaseStringUTFChars and NewStringUTF are filled
// in. Every other slot of the function table aborts the process with the
// slot's number, so a library that calls anything else fails its test.
// Every pointer handed back is checked, and every call is counted.

#include <jni.h>

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace kel::test {

class TestJniEnv {
 public:
  TestJniEnv();
  ~TestJniEnv();
  TestJniEnv(const TestJniEnv&) = delete;
  TestJniEnv& operator=(const TestJniEnv&) = delete;

  JNIEnv* env() noexcept;

  // A Java string holding these modified UTF-8 bytes, owned by this env.
  jstring javaString(std::string_view utf8);
  // The bytes of a string made by javaString or by the library's NewStringUTF.
  // A string the env never made is recorded as a misuse.
  std::string text(jstring str);

  // Makes the next GetStringUTFChars answer null, as a VM out of memory does.
  void failNextGetStringUTFChars();
  // Makes every later NewStringUTF answer null.
  void failNewStringUTF();

  int getStringUTFCharsCalls() const;
  int releaseStringUTFCharsCalls() const;
  int newStringUTFCalls() const;
  // Characters handed out and not yet released.
  int unreleased() const;
  // Every misuse seen: unknown strings or pointers, double releases, null
  // text, text for NewStringUTF that is not modified UTF-8.
  std::vector<std::string> misuses() const;

 private:
  struct JavaString;
  struct Lease;

  static TestJniEnv& self(JNIEnv* env);
  static const char* JNICALL getStringUTFChars(JNIEnv* env, jstring str, jboolean* isCopy);
  static void JNICALL releaseStringUTFChars(JNIEnv* env, jstring str, const char* chars);
  static jstring JNICALL newStringUTF(JNIEnv* env, const char* utf);

  JavaString* find(jstring str);  // caller holds mutex_
  void misuse(std::string what);  // caller holds mutex_

  // JNIEnv_ must come first: the library only ever sees its address.
  struct Holder {
    JNIEnv_ env;
    TestJniEnv* owner;
  } holder_;
  JNINativeInterface_ table_;

  mutable std::mutex mutex_;
  std::vector<std::unique_ptr<JavaString>> strings_;
  std::vector<std::unique_ptr<Lease>> leases_;
  bool failNextGet_ = false;
  bool failNew_ = false;
  int getCalls_ = 0;
  int releaseCalls_ = 0;
  int newCalls_ = 0;
  std::vector<std::string> misuses_;
};

}  // namespace kel::test
