#pragma once
// The enumeration of the current user's connected disk resources that the
// provider lookup and the drive listing share. The loop is written once; each
// routine supplies its own scan and trace steps as an observer.

#include <windows.h>
#include <winnetwk.h>

#include <span>

namespace orvandel {

class ConnectedDiskObserver {
 public:
  virtual void opened(DWORD) {}
  virtual void openFailed(DWORD result) = 0;
  virtual void noWorkBuffer() = 0;
  virtual void passStarting() {}
  virtual void batchReceived(std::span<const NETRESOURCEW> batch) = 0;
  virtual void batchFailed(DWORD result) = 0;
  virtual void passEnded() = 0;
  // Called before the work buffer is freed and the enumeration closed.
  virtual void finished() = 0;

 protected:
  ~ConnectedDiskObserver() = default;
};

// Fetches batches until the platform reports no more items or a batch fails,
// handing each batch to the observer. False when the enumeration cannot be
// opened, its work buffer cannot be allocated, or the platform answers a
// batch that does not lie in that buffer; true otherwise, also when a batch
// failed.
bool enumerateConnectedDisks(ConnectedDiskObserver& observer);

}  // namespace orvandel
