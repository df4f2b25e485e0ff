#pragma once
// Orvandel.dll loaded the way the Java VM loads it (from beside the test
// program, where it binds to whichever mpr.dll the process uses), its exports
// called through the test JNI environment, and its work-buffer allocations
// watched through its import table.

#include <windows.h>

#include <jni.h>

#include <memory>
#include <optional>
#include <set>
#include <string>

#include "import_patch.h"
#include "loaded_library.h"
#include "test_jni_env.h"

namespace orvandel::test {

using StringExport = jstring JNICALL(JNIEnv*, jobject, jstring);
using BooleanExport = jboolean JNICALL(JNIEnv*, jobject, jstring);
using ListingExport = jstring JNICALL(JNIEnv*, jobject);
using IsBinaryExport = jboolean JNICALL(JNIEnv*, jobject, jobject);

// The full path of a file in the folder of this program.
std::string besideThisProgram(const char* file);

// What Orvandel.dll asked of GlobalAlloc and GlobalFree.
struct GlobalMemoryLog {
  int allocations = 0;
  int frees = 0;
  UINT flags = 0;
  SIZE_T bytes = 0;
  HGLOBAL last = nullptr;
  std::set<HGLOBAL> live;
  int strayFrees = 0;
  bool refuseAllocations = false;
};

class Orvandel {
 public:
  Orvandel();
  ~Orvandel();

  // Calls a string export; a null argument is passed as a null reference.
  // Empty when the export answered a null reference.
  std::optional<std::string> ask(StringExport* method, const char* argument);
  bool ask(BooleanExport* method, const char* argument);
  std::string allConnectedDeviceNames();
  // The next GetStringUTFChars answers null, as a VM out of memory does.
  void refuseNextCharacters();

  // Every acquired string released exactly once and before the result string
  // was made, and no other misuse of the JNI environment.
  void expectJniKept() const;

  kel::test::TestJniEnv jni;
  GlobalMemoryLog& memory;

  StringExport* getMountLocationFor;
  StringExport* getUserIDFor;
  StringExport* getHostNameFor;
  StringExport* getProviderNameFor;
  BooleanExport* disconnectConnection;
  ListingExport* getAllConnectedDeviceNames;
  IsBinaryExport* isBinaryConnection;

 private:
  static jstring JNICALL newStringUTFWatchingReleases(JNIEnv* env, const char* utf);

  kel::test::LoadedLibrary library_;
  JNINativeInterface_ functions_;
  std::unique_ptr<kel::test::ImportPatch> globalAlloc_;
  std::unique_ptr<kel::test::ImportPatch> globalFree_;
  int unreleasedAtResult_ = 0;
  int refusals_ = 0;
};

}  // namespace orvandel::test
