// The seven native methods of the Java class
// com.vum.kel.connectionmgr.wnetaccess.Orvandel. Each converts its argument
// to the ANSI code page, asks the routine that does the work, releases the
// argument and only then makes the result string, from the platform's ANSI
// answer turned into modified UTF-8. Failures are told in the result text.

#include <jni.h>

#include <optional>
#include <string>

#include "connection_queries.h"
#include "device_listing.h"
#include "java_chars.h"
#include "kel/code_page.h"
#include "provider_lookup.h"
#include "trace.h"

namespace {

using orvandel::JavaChars;

// Answers a question about one Java string argument: failureText when the
// argument is null, holds a character the ANSI code page lacks (then the
// platform is not asked at all), or the question fails. Nothing may escape
// into the VM, so running out of memory is a failure too.
template <typename Question>
jstring answer(JNIEnv* env, jstring argument, const char* failureText, Question question) noexcept {
  try {
    JavaChars chars(env, argument);
    if (chars.refused()) return nullptr;
    std::optional<std::string> text;
    if (chars.get()) {
      if (const std::optional<std::string> ansi = kel::text::javaToAnsi(chars.get())) text = question(ansi->c_str());
    }
    chars.release();
    return env->NewStringUTF(text ? kel::text::ansiToJava(*text).c_str() : failureText);
  } catch (...) {
    return env->NewStringUTF(failureText);
  }
}

std::optional<std::string> providerNameFor(const char* drive) {
  std::string providers;
  orvandel::traceString("getProviderNameFor: Getting provider name for: %s\n", drive);
  if (!orvandel::findProviderNameFor(drive, providers)) {
    orvandel::traceText("getProviderNameFor: Failed to get provdider name\n");
    return std::nullopt;
  }
  orvandel::traceString("getProviderNameFor: Successfully got provider name: %s\n", providers.c_str());
  return providers;
}

std::string allConnectedDeviceNames() {
  std::string names;
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
    const std::optional<std::string> ansi = chars.get() ? kel::text::javaToAnsi(chars.get()) : std::nullopt;
    chars.release();
    return ansi && orvandel::cancelConnection(ansi->c_str()) ? JNI_TRUE : JNI_FALSE;
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
    return env->NewStringUTF(kel::text::ansiToJava(allConnectedDeviceNames()).c_str());
  } catch (...) {
    return env->NewStringUTF("");
  }
}

}  // extern "C"
