#pragma once
// The enumeration of the current user's connected disk resources, written
// once for the provider lookup and the drive listing: each hands in the fixed
// texts its routine traces at the loop's steps, and its scan of a batch.

#include <windows.h>
#include <winnetwk.h>

#include <functional>
#include <span>

namespace orvandel {

// A routine's trace texts at the loop's steps; null where it traces nothing.
struct EnumerationTraces {
  const char* opened;          // once the open was asked, whatever it answered
  const char* openFailed;      // with openFailedCode, taking the result code
  const char* openFailedCode;
  const char* noWorkBuffer;
  const char* passStarting;
  const char* batchFailed;     // taking the result code
  const char* passEnded;
  const char* finished;        // before the work buffer is freed and the enumeration closed
};

// Fetches batches until the platform reports no more items or a batch fails,
// handing each to `scan`. False when the enumeration cannot be opened (or a
// provider answers success without a handle), its work buffer cannot be
// allocated, or a batch does not lie in that buffer (nothing the provider
// said can then be trusted, earlier batches included); true otherwise, also
// when a batch failed. Every batch asks afresh for as many entries as fit.
bool enumerateConnectedDisks(const EnumerationTraces& traces,
                             const std::function<void(std::span<const NETRESOURCEW>)>& scan);

}  // namespace orvandel
