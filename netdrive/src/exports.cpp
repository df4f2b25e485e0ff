// The seven native methods of the Java class
// com.vum.kel.connectionmgr.wnetaccess.Orvandel, and the two lookups that
// enumerate the connected disks. Each export converts its argument from
// modified UTF-8 to UTF-16, asks the platform's wide functions, releases the
// argument and only then makes the result string, the platform's UTF-16
// answer turned into modified UTF-8. No code page is involved. Failures are
// told in the result text.

#include <jni.h>

#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>

#include "enumeration.h"
#include "kel/java_chars.h"
#include "kel/text_encoding.h"
#include "queries.h"
#include "trace.h"

namespace orvandel {
namespace {

const char16_t* text(LPCWSTR field) { return reinterpret_cast<const char16_t*>(field); }

// Appends the local name of every record that has one, in the batch's order,
// with nothing between them.
void appendLocalNames(std::span<const NETRESOURCEW> batch, std::u16string& names) {
  traceText("EnumerateFunc: Before for loop\n");
  for (std::size_t i = 0; i < batch.size(); ++i) {
    const NETRESOURCEW& record = batch[i];
    traceNumber("EnumerateFunc: In for loop i = %d\n", static_cast<std::int32_t>(i));
    if (record.lpLocalName) {
      traceText("EnumerateFunc: Found local name.\n");
      traceString("EnumerateFunc: Local name is: %s\n", text(record.lpLocalName));
      names += text(record.lpLocalName);
    }
    if (record.lpRemoteName) {
      traceText("EnumerateFunc: Found remote name.\n");
      traceString("EnumerateFunc: Remote name is: %s.\n", text(record.lpRemoteName));
    }
    if (record.lpComment) {
      traceText("EnumerateFunc: Found Comment.\n");
      traceString("EnumerateFunc: Comment is: %s.\n", text(record.lpComment));
    }
    if (record.lpProvider) {
      traceText("EnumerateFunc: Found Provider.\n");
      traceString("EnumerateFunc: Provider is: %s.\n", text(record.lpProvider));
    }
    traceText("EnumerateFunc: End for Loop.\n");
  }
  traceText("EnumerateFunc: End if no error.\n");
}

// Appends the provider name of the first record whose local name equals
// `drive` unit for unit (case and length included). A record without a local
// name never matches; a matching record without a provider name adds nothing.
void appendMatchingProvider(std::span<const NETRESOURCEW> batch, std::u16string_view drive, std::u16string& providers) {
  traceText("findProviderNameFor: Preparing to enumerate connections for a provider name.\n");
  for (std::size_t i = 0; i < batch.size(); ++i) {
    const NETRESOURCEW& record = batch[i];
    traceText("findProviderNameFor: Start for loop");
    traceNumber("findProviderNameFor: loop index is: %d\n", static_cast<std::int32_t>(i));
    if (!record.lpLocalName) continue;
    traceString("findProviderNameFor: Local Name:\t%s\n", text(record.lpLocalName));
    if (drive != text(record.lpLocalName)) continue;
    traceString("findProviderNameFor: Found name for drive.  Provider name is: %s\n", text(record.lpProvider));
    if (record.lpProvider) providers += text(record.lpProvider);
    break;
  }
  traceText("findProviderNameFor: Done enumerating all connections.\n");
}

// The provider names of the connected disks whose local name is exactly
// `drive`; nullopt when the enumeration cannot be started.
std::optional<std::u16string> findProviderNameFor(const std::u16string& drive) {
  traceText("findProviderNameFor: Start function.\n");
  traceString("findProviderNameFor: Looking for drive: %s\n", drive.c_str());
  std::u16string providers;
  const EnumerationTraces traces{nullptr,
                                 "findProviderNameFor: Failed on first if.\n",
                                 "findProviderNameFor: Error code is: %d\n",
                                 "findProviderNameFor: Failed on second if.\n",
                                 nullptr,
                                 "findProviderNameFor: Failed in provider name with unknown error %d\n",
                                 "findProviderNameFor: End of while loop in findProvider\n",
                                 "findProviderNameFor: Completed findProviderName\n"};
  if (!enumerateConnectedDisks(traces, [&](auto batch) { appendMatchingProvider(batch, drive, providers); })) {
    return std::nullopt;
  }
  return providers;
}

// The local names of the connected disks, in the platform's order; nullopt
// when the enumeration cannot be started.
std::optional<std::u16string> EnumerateFunc() {
  std::u16string names;
  const EnumerationTraces traces{"EnumerateFunc: Start Method\n",
                                 "EnumerateFunc: Error on first if\n",
                                 "EnumerateFunc: Error code is: %d\n",
                                 "EnumerateFunc: Error on second if\n",
                                 "EnumerateFunc: Start do loop\n",
                                 "EnumerateFunc: Error was not no more items.  Error is: %d.\n",
                                 "EnumerateFunc: End of do while loop.\n",
                                 "EnumerateFunc: End function.\n"};
  if (!enumerateConnectedDisks(traces, [&](auto batch) { appendLocalNames(batch, names); })) return std::nullopt;
  return names;
}

std::optional<std::u16string> providerNameFor(const std::u16string& drive) {
  traceString("getProviderNameFor: Getting provider name for: %s\n", drive.c_str());
  std::optional<std::u16string> providers = findProviderNameFor(drive);
  if (!providers) {
    traceText("getProviderNameFor: Failed to get provdider name\n");
    return std::nullopt;
  }
  traceString("getProviderNameFor: Successfully got provider name: %s\n", providers->c_str());
  return providers;
}

std::u16string allConnectedDeviceNames() {
  traceText("getAllConnectedDeviceNames: Start Function\n");
  traceText("getAllConnectedDeviceNames: Done calling dummy WNetGetUniversalName\n");
  std::optional<std::u16string> names = EnumerateFunc();
  if (!names) {
    traceText("getAllConnectedDeviceNames: Failed to get all devices.\n");
    return {};
  }
  traceString("getAllConnectedDeviceNames: Successfully completed funtion with result: %s\n", names->c_str());
  return *names;
}

// The argument for the wide functions; nullopt for a null argument, and for
// one holding U+0000, which no platform string can carry (it would end the
// text there), so that the platform is never asked about another name.
std::optional<std::u16string> wideArgument(const kel::JavaChars& chars) {
  if (!chars.get()) return std::nullopt;
  std::optional<std::u16string> units = kel::text::decodeModifiedUtf8(chars.get());
  if (!units || units->find(u'\0') != std::u16string::npos) return std::nullopt;
  return units;
}

// Answers a question about one Java string argument: failureText when the
// argument is null, holds U+0000 (then the platform is not asked at all), or
// the question fails. Nothing may escape into the VM, so running out of
// memory is a failure too.
template <typename Question>
jstring answer(JNIEnv* env, jstring argument, const char* failureText, Question question) noexcept {
  try {
    kel::JavaChars chars(env, argument);
    if (chars.refused()) return nullptr;
    std::optional<std::u16string> result;
    if (const std::optional<std::u16string> wide = wideArgument(chars)) result = question(*wide);
    chars.release();
    return env->NewStringUTF(result ? kel::text::encodeModifiedUtf8(*result).c_str() : failureText);
  } catch (...) {
    return env->NewStringUTF(failureText);
  }
}

}  // namespace
}  // namespace orvandel

extern "C" {

JNIEXPORT jboolean JNICALL Java_com_vum_kel_connectionmgr_wnetaccess_Orvandel_isBinaryConnection(JNIEnv*, jobject,
                                                                                                 jobject) {
  return JNI_FALSE;
}

JNIEXPORT jstring JNICALL Java_com_vum_kel_connectionmgr_wnetaccess_Orvandel_getMountLocationFor(JNIEnv* env, jobject,
                                                                                                  jstring localPath) {
  return orvandel::answer(env, localPath, "Error", orvandel::mountLocationFor);
}

JNIEXPORT jstring JNICALL Java_com_vum_kel_connectionmgr_wnetaccess_Orvandel_getUserIDFor(JNIEnv* env, jobject,
                                                                                           jstring name) {
  return orvandel::answer(env, name, "Error", orvandel::userIdFor);
}

JNIEXPORT jstring JNICALL Java_com_vum_kel_connectionmgr_wnetaccess_Orvandel_getHostNameFor(JNIEnv* env, jobject,
                                                                                             jstring localName) {
  return orvandel::answer(env, localName, "Error", orvandel::hostNameFor);
}

JNIEXPORT jboolean JNICALL Java_com_vum_kel_connectionmgr_wnetaccess_Orvandel_disconnectConnection(JNIEnv* env, jobject,
                                                                                                    jstring name) {
  try {
    kel::JavaChars chars(env, name);
    const std::optional<std::u16string> wide = orvandel::wideArgument(chars);
    chars.release();
    return wide && orvandel::cancelConnection(*wide) ? JNI_TRUE : JNI_FALSE;
  } catch (...) {
    return JNI_FALSE;
  }
}

JNIEXPORT jstring JNICALL Java_com_vum_kel_connectionmgr_wnetaccess_Orvandel_getProviderNameFor(JNIEnv* env, jobject,
                                                                                                 jstring drive) {
  return orvandel::answer(env, drive, "error", orvandel::providerNameFor);
}

JNIEXPORT jstring JNICALL Java_com_vum_kel_connectionmgr_wnetaccess_Orvandel_getAllConnectedDeviceNames(JNIEnv* env,
                                                                                                         jobject) {
  try {
    return env->NewStringUTF(kel::text::encodeModifiedUtf8(orvandel::allConnectedDeviceNames()).c_str());
  } catch (...) {
    return env->NewStringUTF("");
  }
}

}  // extern "C"

// The VM calls native methods with JNICALL, which is __stdcall on 32-bit Windows.
using StringMethod = jstring(JNICALL*)(JNIEnv*, jobject, jstring);
static_assert(std::is_same_v<decltype(&Java_com_vum_kel_connectionmgr_wnetaccess_Orvandel_getMountLocationFor), StringMethod>);
static_assert(std::is_same_v<decltype(&Java_com_vum_kel_connectionmgr_wnetaccess_Orvandel_getUserIDFor), StringMethod>);
static_assert(std::is_same_v<decltype(&Java_com_vum_kel_connectionmgr_wnetaccess_Orvandel_getHostNameFor), StringMethod>);
static_assert(std::is_same_v<decltype(&Java_com_vum_kel_connectionmgr_wnetaccess_Orvandel_getProviderNameFor), StringMethod>);
static_assert(std::is_same_v<decltype(&Java_com_vum_kel_connectionmgr_wnetaccess_Orvandel_disconnectConnection),
                             jboolean(JNICALL*)(JNIEnv*, jobject, jstring)>);
static_assert(std::is_same_v<decltype(&Java_com_vum_kel_connectionmgr_wnetaccess_Orvandel_isBinaryConnection),
                             jboolean(JNICALL*)(JNIEnv*, jobject, jobject)>);
static_assert(std::is_same_v<decltype(&Java_com_vum_kel_connectionmgr_wnetaccess_Orvandel_getAllConnectedDeviceNames),
                             jstring(JNICALL*)(JNIEnv*, jobject)>);
