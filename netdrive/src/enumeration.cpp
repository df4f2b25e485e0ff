#include "enumeration.h"

#include <cstdint>
#include <cstring>

#include "answer_check.h"
#include "kel/unique_any.h"
#include "trace.h"

namespace orvandel {

namespace {

struct enumeration_traits {
  using type = HANDLE;
  static type invalid() noexcept { return nullptr; }
  static void close(type enumeration) noexcept { ::WNetCloseEnum(enumeration); }
};

struct global_memory_traits {
  using type = HGLOBAL;
  static type invalid() noexcept { return nullptr; }
  static void close(type memory) noexcept { ::GlobalFree(memory); }
};

constexpr DWORD WORK_BUFFER_SIZE = 0x4000;
constexpr DWORD AS_MANY_AS_FIT = 0xFFFFFFFF;
// A provider that keeps answering success with no entries would otherwise be
// asked for ever; real providers never send more than a few empty batches.
constexpr int EMPTY_BATCHES_TOLERATED = 64;

void trace(const char* text) {
  if (text) traceText(text);
}

void trace(const char* text, DWORD result) {
  if (text) traceNumber(text, static_cast<std::int32_t>(result));
}

// No more records than fit, and each of their texts in the buffer: the count
// left unset used to send a scan far past the buffer and crash the VM.
bool batchLiesInBuffer(const NETRESOURCEW* records, DWORD count) {
  if (count > WORK_BUFFER_SIZE / sizeof(NETRESOURCEW)) return false;
  for (DWORD i = 0; i < count; ++i) {
    for (const void* text : {records[i].lpLocalName, records[i].lpRemoteName, records[i].lpComment,
                             records[i].lpProvider}) {
      if (!textLiesIn(records, WORK_BUFFER_SIZE, text)) return false;
    }
  }
  return true;
}

}  // namespace

bool enumerateConnectedDisks(const EnumerationTraces& traces,
                             const std::function<void(std::span<const NETRESOURCEW>)>& scan) {
  kel::unique_any<enumeration_traits> enumeration;
  const DWORD opened = ::WNetOpenEnumW(RESOURCE_CONNECTED, RESOURCETYPE_DISK, 0, nullptr, enumeration.put());
  trace(traces.opened);
  // A failed open, and a provider answering success without a handle, leave
  // nothing to enumerate on: whatever is in the slot is no enumeration to close.
  if (opened != NO_ERROR || !enumeration) {
    enumeration.release();
    trace(traces.openFailed);
    trace(traces.openFailedCode, opened);
    return false;
  }
  // GPTR memory is fixed: the handle is the address.
  const kel::unique_any<global_memory_traits> work(::GlobalAlloc(GPTR, WORK_BUFFER_SIZE));
  if (!work) {
    trace(traces.noWorkBuffer);
    return false;
  }
  auto* records = static_cast<NETRESOURCEW*>(work.get());

  int emptyBatchesInARow = 0;
  for (;;) {
    trace(traces.passStarting);
    DWORD count = AS_MANY_AS_FIT;
    DWORD size = WORK_BUFFER_SIZE;
    std::memset(records, 0, size);
    const DWORD result = ::WNetEnumResourceW(enumeration.get(), &count, records, &size);
    if (result == NO_ERROR && !batchLiesInBuffer(records, count)) {
      trace(traces.batchFailed, ERROR_INVALID_DATA);
      trace(traces.finished);
      return false;
    }
    if (result == NO_ERROR) {
      scan({records, count});
      emptyBatchesInARow = count == 0 ? emptyBatchesInARow + 1 : 0;
    } else if (result != ERROR_NO_MORE_ITEMS) {
      trace(traces.batchFailed, result);
      break;
    }
    trace(traces.passEnded);
    if (result == ERROR_NO_MORE_ITEMS || emptyBatchesInARow == EMPTY_BATCHES_TOLERATED) break;
  }
  trace(traces.finished);
  return true;
}

}  // namespace orvandel
