// The native half of TextEncodingCheck: the encoder's output handed to a real
// VM. Test-only; built natively for the VM that runs the check.
#include <jni.h>

#include <string>

#include "kel/text_encoding.h"

namespace {

std::string fromHex(const char* hex) {
  std::string bytes;
  for (std::size_t i = 0; hex[i] && hex[i + 1]; i += 2) bytes += static_cast<char>(std::stoi(std::string(hex + i, 2), nullptr, 16));
  return bytes;
}

}  // namespace

extern "C" {

JNIEXPORT jstring JNICALL Java_TextEncodingCheck_fromUtf8Hex(JNIEnv* env, jclass, jstring hex) {
  const char* chars = env->GetStringUTFChars(hex, nullptr);
  const std::optional<std::string> modified = kel::text::utf8ToModifiedUtf8(fromHex(chars));
  env->ReleaseStringUTFChars(hex, chars);
  return modified ? env->NewStringUTF(modified->c_str()) : nullptr;
}

JNIEXPORT jstring JNICALL Java_TextEncodingCheck_roundTrip(JNIEnv* env, jclass, jstring text) {
  const char* chars = env->GetStringUTFChars(text, nullptr);
  const std::optional<std::u16string> units = kel::text::decodeModifiedUtf8(chars);
  env->ReleaseStringUTFChars(text, chars);
  return units ? env->NewStringUTF(kel::text::encodeModifiedUtf8(*units).c_str()) : nullptr;
}

JNIEXPORT jstring JNICALL Java_TextEncodingCheck_rawUtf8Hex(JNIEnv* env, jclass, jstring hex) {
  const char* chars = env->GetStringUTFChars(hex, nullptr);
  const std::string raw = fromHex(chars);
  env->ReleaseStringUTFChars(hex, chars);
  return env->NewStringUTF(raw.c_str());
}

}  // extern "C"
