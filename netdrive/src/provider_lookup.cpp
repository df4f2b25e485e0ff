#include "provider_lookup.h"

#include <string_view>

#include "connected_disks.h"
#include "record_scans.h"
#include "trace.h"

namespace orvandel {

namespace {

class ProviderLookup final : public ConnectedDiskObserver {
 public:
  ProviderLookup(std::wstring_view drive, std::wstring& providers) : drive_(drive), providers_(providers) {}

  void openFailed(DWORD result) override {
    traceText("findProviderNameFor: Failed on first if.\n");
    traceNumber("findProviderNameFor: Error code is: %d\n", static_cast<std::int32_t>(result));
  }
  void noWorkBuffer() override { traceText("findProviderNameFor: Failed on second if.\n"); }
  void batchReceived(std::span<const NETRESOURCEW> batch) override {
    appendMatchingProvider(batch, drive_, providers_);
  }
  void batchFailed(DWORD result) override {
    traceNumber("findProviderNameFor: Failed in provider name with unknown error %d\n",
                static_cast<std::int32_t>(result));
  }
  void passEnded() override { traceText("findProviderNameFor: End of while loop in findProvider\n"); }
  void finished() override { traceText("findProviderNameFor: Completed findProviderName\n"); }

 private:
  std::wstring_view drive_;
  std::wstring& providers_;
};

}  // namespace

bool findProviderNameFor(const wchar_t* drive, std::wstring& providers) {
  traceText("findProviderNameFor: Start function.\n");
  traceString("findProviderNameFor: Looking for drive: %s\n", drive);
  ProviderLookup lookup(drive, providers);
  return enumerateConnectedDisks(lookup);
}

}  // namespace orvandel
