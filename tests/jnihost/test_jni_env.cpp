#include "test_jni_env.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "kel/text_encoding.h"

namespace kel::test {

namespace {

constexpr std::size_t SLOT_COUNT = sizeof(JNINativeInterface_) / sizeof(void*);

// A slot the library has no business calling. It cannot return: it knows
// neither the slot's arguments nor its result (and under 32-bit __stdcall it
// could not even leave the stack as the caller expects).
template <std::size_t Slot>
void JNICALL forbiddenSlot() {
  std::fprintf(stderr, "test JNI env: the library called JNI function table slot %u, which it must not use\n",
               static_cast<unsigned>(Slot));
  std::fflush(stderr);
  std::abort();
}

template <std::size_t... Slots>
void fillForbidden(void** table, std::index_sequence<Slots...>) {
  ((table[Slots] = reinterpret_cast<void*>(&forbiddenSlot<Slots>)), ...);
}

}  // namespace

struct TestJniEnv::JavaString {
  std::string utf8;
};

// One GetStringUTFChars answer: a private copy, so the library cannot write
// into the string and a read after release finds poisoned bytes.
struct TestJniEnv::Lease {
  JavaString* owner;
  std::unique_ptr<char[]> chars;
  std::size_t size;
  bool released = false;
};

TestJniEnv::TestJniEnv() : holder_{{}, this} {
  static_assert(sizeof(JNINativeInterface_) == SLOT_COUNT * sizeof(void*));
  void* slots[SLOT_COUNT];
  fillForbidden(slots, std::make_index_sequence<SLOT_COUNT>{});
  std::memcpy(&table_, slots, sizeof table_);
  table_.GetStringUTFChars = &getStringUTFChars;
  table_.ReleaseStringUTFChars = &releaseStringUTFChars;
  table_.NewStringUTF = &newStringUTF;
  holder_.env.functions = &table_;
}

TestJniEnv::~TestJniEnv() = default;

JNIEnv* TestJniEnv::env() noexcept { return &holder_.env; }

TestJniEnv& TestJniEnv::self(JNIEnv* env) { return *reinterpret_cast<Holder*>(env)->owner; }

jstring TestJniEnv::javaString(std::string_view utf8) {
  std::lock_guard lock(mutex_);
  strings_.push_back(std::make_unique<JavaString>(JavaString{std::string(utf8)}));
  return reinterpret_cast<jstring>(strings_.back().get());
}

std::string TestJniEnv::text(jstring str) {
  std::lock_guard lock(mutex_);
  if (JavaString* s = find(str)) return s->utf8;
  misuse("text() of a string this env never made");
  return {};
}

TestJniEnv::JavaString* TestJniEnv::find(jstring str) {
  auto* wanted = reinterpret_cast<JavaString*>(str);
  auto it = std::find_if(strings_.begin(), strings_.end(), [&](const auto& s) { return s.get() == wanted; });
  return it == strings_.end() ? nullptr : it->get();
}

void TestJniEnv::misuse(std::string what) {
  std::fprintf(stderr, "test JNI env: %s\n", what.c_str());
  misuses_.push_back(std::move(what));
}

const char* JNICALL TestJniEnv::getStringUTFChars(JNIEnv* env, jstring str, jboolean* isCopy) {
  TestJniEnv& me = self(env);
  std::lock_guard lock(me.mutex_);
  ++me.getCalls_;
  JavaString* s = me.find(str);
  if (!s) {
    me.misuse(str ? "GetStringUTFChars on an unknown string" : "GetStringUTFChars on a null string");
    return nullptr;
  }
  if (std::exchange(me.failNextGet_, false)) return nullptr;
  auto lease = std::make_unique<Lease>(Lease{s, std::make_unique<char[]>(s->utf8.size() + 1), s->utf8.size() + 1});
  std::memcpy(lease->chars.get(), s->utf8.c_str(), lease->size);
  if (isCopy) *isCopy = JNI_TRUE;
  me.leases_.push_back(std::move(lease));
  return me.leases_.back()->chars.get();
}

void JNICALL TestJniEnv::releaseStringUTFChars(JNIEnv* env, jstring str, const char* chars) {
  TestJniEnv& me = self(env);
  std::lock_guard lock(me.mutex_);
  ++me.releaseCalls_;
  auto it = std::find_if(me.leases_.begin(), me.leases_.end(),
                         [&](const auto& lease) { return lease->chars.get() == chars; });
  if (it == me.leases_.end()) {
    me.misuse("ReleaseStringUTFChars with a pointer GetStringUTFChars never gave");
    return;
  }
  Lease& lease = **it;
  if (lease.released) {
    me.misuse("ReleaseStringUTFChars twice for the same characters");
    return;
  }
  if (reinterpret_cast<JavaString*>(str) != lease.owner) {
    me.misuse("ReleaseStringUTFChars with characters of another string");
    return;
  }
  lease.released = true;
  std::memset(lease.chars.get(), 0xDD, lease.size);
}

jstring JNICALL TestJniEnv::newStringUTF(JNIEnv* env, const char* utf) {
  TestJniEnv& me = self(env);
  std::lock_guard lock(me.mutex_);
  ++me.newCalls_;
  if (!utf) {
    me.misuse("NewStringUTF with a null pointer");
    return nullptr;
  }
  // A VM silently drops text from the first byte that is not modified UTF-8.
  if (!kel::text::decodeModifiedUtf8(utf)) {
    std::string hex;
    for (const unsigned char byte : std::string_view(utf).substr(0, 64)) {
      static constexpr char digits[] = "0123456789ABCDEF";
      hex += digits[byte >> 4];
      hex += digits[byte & 15];
    }
    me.misuse("NewStringUTF with bytes that are not modified UTF-8: " + hex);
  }
  if (me.failNew_) return nullptr;
  me.strings_.push_back(std::make_unique<JavaString>(JavaString{utf}));
  return reinterpret_cast<jstring>(me.strings_.back().get());
}

void TestJniEnv::failNextGetStringUTFChars() {
  std::lock_guard lock(mutex_);
  failNextGet_ = true;
}

void TestJniEnv::failNewStringUTF() {
  std::lock_guard lock(mutex_);
  failNew_ = true;
}

int TestJniEnv::getStringUTFCharsCalls() const {
  std::lock_guard lock(mutex_);
  return getCalls_;
}

int TestJniEnv::releaseStringUTFCharsCalls() const {
  std::lock_guard lock(mutex_);
  return releaseCalls_;
}

int TestJniEnv::newStringUTFCalls() const {
  std::lock_guard lock(mutex_);
  return newCalls_;
}

int TestJniEnv::unreleased() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(std::count_if(leases_.begin(), leases_.end(), [](const auto& l) { return !l->released; }));
}

std::vector<std::string> TestJniEnv::misuses() const {
  std::lock_guard lock(mutex_);
  return misuses_;
}

}  // namespace kel::test
