#pragma once
// The characters of a Java string argument, as the VM lends them (modified
// UTF-8), released exactly once with the pointer they came from.

#include <jni.h>

#include <utility>

namespace kel {

class JavaChars {
 public:
  // A null string is not handed to the VM at all.
  JavaChars(JNIEnv* env, jstring string) noexcept
      : env_(env), string_(string), chars_(string ? env->GetStringUTFChars(string, nullptr) : nullptr) {}
  ~JavaChars() { release(); }
  JavaChars(const JavaChars&) = delete;
  JavaChars& operator=(const JavaChars&) = delete;

  // The modified UTF-8 bytes; null for a null argument or when the VM gave none.
  const char* get() const noexcept { return chars_; }
  // The VM could not give the characters: it has an exception pending, and
  // the only proper move is to return at once without calling it again.
  bool refused() const noexcept { return string_ && !chars_ && !released_; }

  void release() noexcept {
    if (chars_) env_->ReleaseStringUTFChars(string_, std::exchange(chars_, nullptr));
    released_ = true;
  }

 private:
  JNIEnv* env_;
  jstring string_;
  const char* chars_;
  bool released_ = false;
};

}  // namespace kel
