#include "queries.h"

#include <windows.h>
#include <winnetwk.h>

#include <cstdint>
#include <vector>

#include "answer_check.h"
#include "kel/wide.h"
#include "trace.h"

namespace orvandel {

namespace {

using kel::wide;

// In the platform's own units: characters for the user and remote names,
// bytes for the universal-name block.
constexpr DWORD NAME_BUFFER_SIZE = 80;
constexpr DWORD UNIVERSAL_NAME_BLOCK_SIZE = 250;

// Runs query(buffer, &size) with a buffer of `initialSize` units (whatever
// the platform function counts in). When the platform answers that the
// buffer is too small and names a larger size, asks exactly once more with
// that much room, so a long name comes back whole rather than not at all.
// Answers the platform's last answer; on NO_ERROR `buffer` holds what the
// platform wrote.
template <typename Unit, typename Query>
DWORD querySized(std::vector<Unit>& buffer, DWORD initialSize, Query query) {
  DWORD size = initialSize;
  buffer.assign(size, Unit{});
  const DWORD result = query(buffer.data(), &size);
  if (result != ERROR_MORE_DATA || size <= buffer.size()) return result;
  buffer.assign(size, Unit{});
  return query(buffer.data(), &size);
}

// The name the platform wrote into `buffer`, never read past its end even
// if the platform left no terminator.
std::u16string nameIn(const std::vector<wchar_t>& buffer) {
  return std::u16string(textIn(buffer.data(), buffer.size() * sizeof(wchar_t), buffer.data()).value());
}

}  // namespace

std::optional<std::u16string> mountLocationFor(const std::u16string& localPath) {
  std::vector<char> block;
  const DWORD result = querySized(block, UNIVERSAL_NAME_BLOCK_SIZE, [&](char* buffer, DWORD* size) {
    return ::WNetGetUniversalNameW(wide(localPath), UNIVERSAL_NAME_INFO_LEVEL, buffer, size);
  });
  traceString("getMountLocationFor: Getting path for %s\n", localPath.c_str());
  // The platform places the name inside the block, after the record; anything else is no answer.
  std::optional<std::u16string_view> name;
  if (result == NO_ERROR) {
    name = textIn(block.data(), block.size(), reinterpret_cast<const UNIVERSAL_NAME_INFOW*>(block.data())->lpUniversalName);
  }
  if (!name) {
    traceNumber("getMountLocationFor: Error Getting Path:\t%d\n", static_cast<std::int32_t>(result));
    return std::nullopt;
  }
  std::u16string universal(*name);
  traceString("getMountLocationFor: Successfully got path %s\n", universal.c_str());
  return universal;
}

std::optional<std::u16string> userIdFor(const std::u16string& name) {
  traceString("getUserIDFor: Getting user ID for %s\n", name.c_str());
  std::vector<wchar_t> buffer;
  const DWORD result = querySized(buffer, NAME_BUFFER_SIZE, [&](wchar_t* user, DWORD* length) {
    return ::WNetGetUserW(wide(name), user, length);
  });
  if (result != NO_ERROR) {
    traceNumber("getUserIDFor: Error Getting User ID:\t%d\n", static_cast<std::int32_t>(result));
    return std::nullopt;
  }
  std::u16string user = nameIn(buffer);
  traceString("getUserIDFor: Successfully got user ID: %s\n", user.c_str());
  return user;
}

std::optional<std::u16string> hostNameFor(const std::u16string& localName) {
  std::vector<wchar_t> buffer;
  const DWORD result = querySized(buffer, NAME_BUFFER_SIZE, [&](wchar_t* remote, DWORD* length) {
    return ::WNetGetConnectionW(wide(localName), remote, length);
  });
  traceString("getHostNameFor: Getting host name for %s\n", localName.c_str());
  if (result != NO_ERROR) {
    traceNumber("getHostNameFor: Error getting host name, error is: %d\n", static_cast<std::int32_t>(result));
    return std::nullopt;
  }
  std::u16string remote = nameIn(buffer);
  traceString("getHostNameFor: Done getting host name, host is: %s\n", remote.c_str());
  return remote;
}

bool cancelConnection(const std::u16string& name) {
  if (::WNetCancelConnection2W(wide(name), CONNECT_UPDATE_PROFILE, FALSE) == NO_ERROR) return true;
  return ::WNetCancelConnectionW(wide(name), FALSE) == NO_ERROR;
}

}  // namespace orvandel
