#include "connected_disks.h"

#include <cstring>

#include "kel/unique_any.h"
#include "record_scans.h"

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

constexpr DWORD workBufferSize = 0x4000;
constexpr DWORD asManyAsFit = 0xFFFFFFFF;
// A provider that keeps answering success with no entries would otherwise be
// asked for ever; real providers never send more than a few empty batches.
constexpr int emptyBatchesTolerated = 64;

}  // namespace

bool enumerateConnectedDisks(ConnectedDiskObserver& observer) {
  kel::unique_any<enumeration_traits> enumeration;
  const DWORD opened = ::WNetOpenEnumW(RESOURCE_CONNECTED, RESOURCETYPE_DISK, 0, nullptr, enumeration.put());
  observer.opened(opened);
  // A failed open, and a provider answering success without a handle, leave
  // nothing to enumerate on: whatever is in the slot is no enumeration to close.
  if (opened != NO_ERROR || !enumeration) {
    enumeration.release();
    observer.openFailed(opened);
    return false;
  }

  // GPTR memory is fixed: the handle is the address.
  const kel::unique_any<global_memory_traits> work(::GlobalAlloc(GPTR, workBufferSize));
  if (!work) {
    observer.noWorkBuffer();
    return false;
  }
  auto* records = static_cast<NETRESOURCEW*>(work.get());

  int emptyBatchesInARow = 0;
  for (;;) {
    observer.passStarting();
    // Both are in/out: every batch asks afresh for as many entries as fit.
    DWORD count = asManyAsFit;
    DWORD size = workBufferSize;
    std::memset(records, 0, size);
    const DWORD result = ::WNetEnumResourceW(enumeration.get(), &count, records, &size);
    if (result == NO_ERROR && !batchLiesInBuffer<NETRESOURCEW>(records, workBufferSize, count)) {
      // An answer that points outside the buffer is a failure of the call,
      // not a batch: nothing of it, or of earlier batches, can be trusted.
      observer.batchFailed(ERROR_INVALID_DATA);
      observer.finished();
      return false;
    }
    if (result == NO_ERROR) {
      observer.batchReceived({records, count});
      emptyBatchesInARow = count == 0 ? emptyBatchesInARow + 1 : 0;
    } else if (result != ERROR_NO_MORE_ITEMS) {
      observer.batchFailed(result);
      break;
    }
    observer.passEnded();
    if (result == ERROR_NO_MORE_ITEMS || emptyBatchesInARow == emptyBatchesTolerated) break;
  }
  observer.finished();
  return true;
}

}  // namespace orvandel
