// The seven native methods of the Java class
// com.vum.kel.connectionmgr.wnetaccess.Orvandel. Each converts its argument
// from modified UTF-8 to UTF-16, asks the routine that does the work through
// the platform's wide functions, releases the argument and only then makes
// the result string, the platform's UTF-16 answer turned into modified UTF-8.
// No code page is involved. Failures are told in the result text.

#include <jni.h>

#include <optional>
#include <string>

#include "connection_queries.h"
#include "device_listing.h"
#include "java_chars.h"
#include "kel/text_encoding.h"
#include "provider_lookup.h"
#include "trace.h"

namespace {

using orvandel::JavaChars;

static_assert(sizeof(wchar_t) == sizeof(char16_t));

// The argument for the wide functions; nullopt for a null argument, and for
// one holding U+0000, which no platform string can carry (it would end the
// text there), so that the platform is never asked about another name.
std::optional<std::wstring> wideArgument(const JavaChars& chars) {
  if (!chars.get()) return std::nullopt;
  const std::optional<std::u16string> units = kel::text::decodeModifiedUtf8(chars.get());
  if (!units || units->find(u'\0') != std::u16string::npos) return std::nullopt;
  return std::wstring(units->begin(), units->end());
}

std::string toJava(const std::wstring& text) {
  return kel::text::encodeModifiedUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
}

// Answers a question about one Java string argument: failureText when the
// argument is null, holds U+0000 (then the platform is not asked at all), or
// the question fails. Nothing may escape into the VM, so running out of
// memory is a failure too.
template <typename Question>
jstring answer(JNIEnv* env, jstring argument, const char* failureText, Question question) noexcept {
  try {
    JavaChars chars(env, argument);
    if (chars.refused()) return nullptr;
    std::optional<std::wstring> text;
    if (const std::optional<std::wstring> wide = wideArgument(chars)) text = question(wide->c_str());
    chars.release();
    return env->NewStringUTF(text ? toJava(*text).c_str() : failureText);
  } catch (...) {
    return env->NewStringUTF(failureText);
  }
}

std::optional<std::wstring> providerNameFor(const wchar_t* drive) {
  std::wstring providers;
  orvandel::traceString("getProviderNameFor: Getting provider name for: %s\n", drive);
  if (!orvandel::findProviderNameFor(drive, providers)) {
    orvandel::traceText("getProviderNameFor: Failed to get provdider name\n");
    return std::nullopt;
  }
  orvandel::traceString("getProviderNameFor: Successfully got provider name: %s\n", providers.c_str());
  return providers;
}

std::wstring allConnectedDeviceNames() {
  std::wstring names;
  orvandel::traceText("getAllConnectedDeviceNames: Start Function\n");
  orvandel::traceText("getAllConnectedDeviceNames: Done calling dummy WNetGetUniversalName\n");
  if (!orvandel::EnumerateFunc(names)) {
    orvandel::traceText("getAllConnectedDeviceNames: Failed to get all devices.\n");
    return {};
  }
  orvandel::traceString("getAllConnectedDeviceNames: Successfully completed funtion with result: %s\n",
                        names.c_str());
  return names;
}

}  // namespace

extern "C" {

JNIEXPORT jboolean JNICALL Java_com_vum_kel_connectionmgr_wnetaccess_Orvandel_isBinaryConnection(JNIEnv*, jobject,
                                                                                                 jobject) {
  return JNI_FALSE;
}

JNIEXPORT jstring JNICALL Java_com_vum_kel_connectionmgr_wnetaccess_Orvandel_getMountLocationFor(JNIEnv* env, jobject,
                                                                                                  jstring localPath) {
  return answer(env, localPath, "Error", orvandel::mountLocationFor);
}

JNIEXPORT jstring JNICALL Java_com_vum_kel_connectionmgr_wnetaccess_Orvandel_getUserIDFor(JNIEnv* env, jobject,
                                                                                           jstring name) {
  return answer(env, name, "Error", orvandel::userIdFor);
}

JNIEXPORT jstring JNICALL Java_com_vum_kel_connectionmgr_wnetaccess_Orvandel_getHostNameFor(JNIEnv* env, jobject,
                                                                                             jstring localName) {
  return answer(env, localName, "Error", orvandel::hostNameFor);
}

JNIEXPORT jboolean JNICALL Java_com_vum_kel_connectionmgr_wnetaccess_Orvandel_disconnectConnection(JNIEnv* env, jobject,
                                                                                                    jstring name) {
  try {
    JavaChars chars(env, name);
    const std::optional<std::wstring> wide = wideArgument(chars);
    chars.release();
    return wide && orvandel::cancelConnection(wide->c_str()) ? JNI_TRUE : JNI_FALSE;
  } catch (...) {
    return JNI_FALSE;
  }
}

JNIEXPORT jstring JNICALL Java_com_vum_kel_connectionmgr_wnetaccess_Orvandel_getProviderNameFor(JNIEnv* env, jobject,
                                                                                                 jstring drive) {
  return answer(env, drive, "error", providerNameFor);
}

JNIEXPORT jstring JNICALL Java_com_vum_kel_connectionmgr_wnetaccess_Orvandel_getAllConnectedDeviceNames(JNIEnv* env,
                                                                                                         jobject) {
  try {
    return env->NewStringUTF(toJava(allConnectedDeviceNames()).c_str());
  } catch (...) {
    return env->NewStringUTF("");
  }
}

}  // extern "C"
