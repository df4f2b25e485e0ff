#include "orvandel_harness.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orvandel::test {

namespace {

constexpr const char* prefix = "Java_com_vum_kel_connectionmgr_wnetaccess_Orvandel_";

GlobalMemoryLog memoryLog;
Orvandel* current = nullptr;
jstring(JNICALL* forwardNewStringUTF)(JNIEnv*, const char*) = nullptr;

// On 64-bit the work buffer lies above 4 GiB (fixed and zeroed, as GPTR
// asks), so that a pointer cut to 32 bits on its way between the library and
// the provider shows.
HGLOBAL allocate(UINT flags, SIZE_T bytes) {
#ifdef _WIN64
  (void)flags;
  return ::VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT | MEM_TOP_DOWN, PAGE_READWRITE);
#else
  return ::GlobalAlloc(flags, bytes);
#endif
}

HGLOBAL release(HGLOBAL memory) {
#ifdef _WIN64
  return ::VirtualFree(memory, 0, MEM_RELEASE) ? nullptr : memory;
#else
  return ::GlobalFree(memory);
#endif
}

HGLOBAL WINAPI watchedGlobalAlloc(UINT flags, SIZE_T bytes) {
  if (memoryLog.refuseAllocations) return nullptr;
  HGLOBAL memory = allocate(flags, bytes);
  ++memoryLog.allocations;
  memoryLog.flags = flags;
  memoryLog.bytes = bytes;
  memoryLog.last = memory;
  memoryLog.live.insert(memory);
  return memory;
}

HGLOBAL WINAPI watchedGlobalFree(HGLOBAL memory) {
  ++memoryLog.frees;
  if (memoryLog.live.erase(memory) != 1) ++memoryLog.strayFrees;
  return release(memory);
}

template <typename Export>
Export* exported(const kel::test::LoadedLibrary& library, const char* method) {
  return library.get<Export>((std::string(prefix) + method).c_str());
}

}  // namespace

std::string besideThisProgram(const char* file) {
  char path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of("\\/") + 1) + file;
}

Orvandel::Orvandel()
    : memory(memoryLog),
      library_(besideThisProgram("Orvandel.dll")),
      functions_(*jni.env()->functions),
      globalAlloc_(std::make_unique<kel::test::ImportPatch>(library_.handle(), "kernel32.dll", "GlobalAlloc",
                                                            reinterpret_cast<void*>(&watchedGlobalAlloc))),
      globalFree_(std::make_unique<kel::test::ImportPatch>(library_.handle(), "kernel32.dll", "GlobalFree",
                                                           reinterpret_cast<void*>(&watchedGlobalFree))) {
  memoryLog = GlobalMemoryLog{};
  getMountLocationFor = exported<StringExport>(library_, "getMountLocationFor");
  getUserIDFor = exported<StringExport>(library_, "getUserIDFor");
  getHostNameFor = exported<StringExport>(library_, "getHostNameFor");
  getProviderNameFor = exported<StringExport>(library_, "getProviderNameFor");
  disconnectConnection = exported<BooleanExport>(library_, "disconnectConnection");
  getAllConnectedDeviceNames = exported<ListingExport>(library_, "getAllConnectedDeviceNames");
  isBinaryConnection = exported<IsBinaryExport>(library_, "isBinaryConnection");

  // Results are made through a table of our own that notes, at that moment,
  // how many argument strings are still held.
  forwardNewStringUTF = functions_.NewStringUTF;
  functions_.NewStringUTF = &newStringUTFWatchingReleases;
  jni.env()->functions = &functions_;
  current = this;
}

Orvandel::~Orvandel() { current = nullptr; }

jstring JNICALL Orvandel::newStringUTFWatchingReleases(JNIEnv* env, const char* utf) {
  current->unreleasedAtResult_ = std::max(current->unreleasedAtResult_, current->jni.unreleased());
  return forwardNewStringUTF(env, utf);
}

std::optional<std::string> Orvandel::ask(StringExport* method, const char* argument) {
  const jstring result = method(jni.env(), nullptr, argument ? jni.javaString(argument) : nullptr);
  if (!result) return std::nullopt;
  return jni.text(result);
}

bool Orvandel::ask(BooleanExport* method, const char* argument) {
  return method(jni.env(), nullptr, argument ? jni.javaString(argument) : nullptr) == JNI_TRUE;
}

std::string Orvandel::allConnectedDeviceNames() { return jni.text(getAllConnectedDeviceNames(jni.env(), nullptr)); }

void Orvandel::refuseNextCharacters() {
  jni.failNextGetStringUTFChars();
  ++refusals_;
}

void Orvandel::expectJniKept() const {
  EXPECT_EQ(jni.unreleased(), 0) << "argument characters never released";
  EXPECT_EQ(jni.releaseStringUTFCharsCalls(), jni.getStringUTFCharsCalls() - refusals_);
  EXPECT_EQ(unreleasedAtResult_, 0) << "a result string was made while the argument was still held";
  EXPECT_TRUE(jni.misuses().empty());
}

}  // namespace orvandel::test
