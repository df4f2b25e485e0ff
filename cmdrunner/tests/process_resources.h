#pragma once
// What a call could leave behind in this process: open handles, heap memory.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kel::test {

// Wine's GetProcessHandleCount answers 0 whatever is open, so the handles are
// counted by asking about every value a handle can take in this range.
inline int openHandles() {
  int count = 0;
  DWORD flags = 0;
  for (std::uintptr_t value = 4; value < 0x10000; value += 4) {
    if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
  }
  return count;
}

// Bytes in use on the process's heaps, where the C runtime and the system's
// texts allocate.
inline std::size_t heapBytes() {
  std::vector<HANDLE> heaps(::GetProcessHeaps(0, nullptr) + 16);
  heaps.resize(::GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
  std::size_t busy = 0;
  for (const HANDLE heap : heaps) {
    PROCESS_HEAP_ENTRY entry{};
    ::HeapLock(heap);
    while (::HeapWalk(heap, &entry)) {
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) busy += entry.cbData;
    }
    ::HeapUnlock(heap);
  }
  return busy;
}

}  // namespace kel::test
