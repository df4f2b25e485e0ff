#pragma once
// The control functions of the stand-in network provider (the test-only
// mpr.dll), through which a test or the demo scripts it. A process that runs
// with the stand-in finds them in the loaded mpr.dll by name.

#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace standin {

// Resource types a scripted connection can have.
inline constexpr DWORD DISK = 1;     // RESOURCETYPE_DISK
inline constexpr DWORD PRINTER = 2;  // RESOURCETYPE_PRINT
inline constexpr DWORD FOR_EVER = 0xFFFFFFFF;

// Ways an enumeration batch can answer NO_ERROR and yet not lie in the
// caller's buffer.
enum Corruption : DWORD {
  countLeftAsAsked = 1,  // the entry count not set (as many as fit: all bits)
  countBeyondBuffer,     // one record more than the buffer holds
  nameOutsideBuffer,     // a local name pointing at the provider's own memory
  nameUnterminated,      // a remote name running to the buffer's end without a terminator
  nameMisaligned,        // a comment starting at an odd address inside the buffer
};

extern "C" {
// Forgets every connection, forced result, batch rule and logged call.
using ResetFn = void();
// Adds a connection; texts in modified UTF-8 (the provider holds them as
// UTF-16); local, provider and comment may be null (absent).
using AddConnectionFn = void(const char* local, const char* remote, const char* provider, const char* comment,
                             const char* user, DWORD type);
// Every later call of the named WNet function returns result at once
// (ERROR_MORE_DATA also asks for 100 units more than it was given; NO_ERROR
// from WNetOpenEnumW hands out a null handle).
using ForceResultFn = void(const char* function, DWORD result);
// At most this many records per enumeration batch.
using SetBatchLimitFn = void(DWORD records);
// The enumeration batch with this index (from 0) fails with result.
using FailBatchFn = void(DWORD batch, DWORD result);
// The enumeration batch with this index (from 0) is served with a corruption.
using CorruptBatchFn = void(DWORD batch, Corruption corruption);
// This many batches (or forEver) answer NO_ERROR with no entries before the
// records are served.
using ServeEmptyBatchesFn = void(DWORD batches);
// Enumerations opened and not yet closed.
using OpenEnumerationsFn = DWORD();
// Every WNet call so far, one line each, the texts the library passed in
// modified UTF-8; returns the bytes needed with the terminating zero, and
// copies only when they fit.
using CallLogFn = DWORD(char* buffer, DWORD size);
}

// The control functions bound from the loaded stand-in.
class Provider {
 public:
  Provider() : module_(::GetModuleHandleA("mpr.dll")) {
    if (!module_) module_ = ::LoadLibraryA("mpr.dll");
    if (!module_ || !::GetProcAddress(module_, "standinReset"))
      throw std::runtime_error("mpr.dll is not the stand-in provider (run with WINEDLLOVERRIDES=mpr=n beside it)");
    bind(reset, "standinReset");
    bind(addConnection, "standinAddConnection");
    bind(forceResult, "standinForceResult");
    bind(setBatchLimit, "standinSetBatchLimit");
    bind(failBatch, "standinFailBatch");
    bind(corruptBatch, "standinCorruptBatch");
    bind(serveEmptyBatches, "standinServeEmptyBatches");
    bind(openEnumerations, "standinOpenEnumerations");
    bind(callLog, "standinCallLog");
  }

  std::vector<std::string> calls() const {
    std::string text(callLog(nullptr, 0), '\0');
    callLog(text.data(), static_cast<DWORD>(text.size()));
    text.pop_back();
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
      lines.push_back(text.substr(start, end - start));
    return lines;
  }

  ResetFn* reset;
  AddConnectionFn* addConnection;
  ForceResultFn* forceResult;
  SetBatchLimitFn* setBatchLimit;
  FailBatchFn* failBatch;
  CorruptBatchFn* corruptBatch;
  ServeEmptyBatchesFn* serveEmptyBatches;
  OpenEnumerationsFn* openEnumerations;
  CallLogFn* callLog;

 private:
  template <typename Fn>
  void bind(Fn*& slot, const char* name) {
    slot = reinterpret_cast<Fn*>(reinterpret_cast<void*>(::GetProcAddress(module_, name)));
    if (!slot) throw std::runtime_error(std::string("stand-in provider lacks ") + name);
  }

  HMODULE module_;
};

}  // namespace standin
