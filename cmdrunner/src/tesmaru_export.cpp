// The library's one export, the native method getSTDOUT of the Java class
// com.vum.kel.util.WindowsCommandCenter.
#include <jni.h>

#include <string>
#include <string_view>
#include <type_traits>

#include "command_runner.h"

namespace {

// The argument's characters, released exactly once with the pointer they came from.
class JavaStringChars {
 public:
  JavaStringChars(JNIEnv* env, jstring string)
      : env_(env), string_(string), chars_(env->GetStringUTFChars(string, nullptr)) {}
  ~JavaStringChars() {
    if (chars_) env_->ReleaseStringUTFChars(string_, chars_);
  }
  JavaStringChars(const JavaStringChars&) = delete;
  JavaStringChars& operator=(const JavaStringChars&) = delete;

  const char* get() const noexcept { return chars_; }

 private:
  JNIEnv* env_;
  jstring string_;
  const char* chars_;
};

}  // namespace

extern "C" JNIEXPORT jstring JNICALL Java_com_vum_kel_util_WindowsCommandCenter_getSTDOUT(JNIEnv* env, jobject,
                                                                                         jstring commandLine) {
  if (!commandLine) return nullptr;
  try {
    std::string result;
    {
      const JavaStringChars chars(env, commandLine);
      if (!chars.get()) return nullptr;
      result = kel::cmdrunner::runCommandLine(chars.get());
    }
    return env->NewStringUTF(result.c_str());
  } catch (...) {
    // Only a lack of memory gets here; null is what NewStringUTF answers then too.
    return nullptr;
  }
}

// The VM calls native methods with JNICALL, which is __stdcall on 32-bit Windows.
static_assert(std::is_same_v<decltype(&Java_com_vum_kel_util_WindowsCommandCenter_getSTDOUT),
                             jstring(JNICALL*)(JNIEnv*, jobject, jstring)>);
