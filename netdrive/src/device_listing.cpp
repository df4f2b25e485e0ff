#include "device_listing.h"

#include "connected_disks.h"
#include "record_scans.h"
#include "trace.h"

namespace orvandel {

namespace {

class DeviceListing final : public ConnectedDiskObserver {
 public:
  explicit DeviceListing(std::wstring& names) : names_(names) {}

  void opened(DWORD) override { traceText("EnumerateFunc: Start Method\n"); }
  void openFailed(DWORD result) override {
    traceText("EnumerateFunc: Error on first if\n");
    traceNumber("EnumerateFunc: Error code is: %d\n", static_cast<std::int32_t>(result));
  }
  void noWorkBuffer() override { traceText("EnumerateFunc: Error on second if\n"); }
  void passStarting() override { traceText("EnumerateFunc: Start do loop\n"); }
  void batchReceived(std::span<const NETRESOURCEW> batch) override { appendLocalNames(batch, names_); }
  void batchFailed(DWORD result) override {
    traceNumber("EnumerateFunc: Error was not no more items.  Error is: %d.\n", static_cast<std::int32_t>(result));
  }
  void passEnded() override { traceText("EnumerateFunc: End of do while loop.\n"); }
  void finished() override { traceText("EnumerateFunc: End function.\n"); }

 private:
  std::wstring& names_;
};

}  // namespace

bool EnumerateFunc(std::wstring& names) {
  DeviceListing listing(names);
  return enumerateConnectedDisks(listing);
}

}  // namespace orvandel
