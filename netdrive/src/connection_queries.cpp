#include "connection_queries.h"

#include <windows.h>
#include <winnetwk.h>

#include <cstdint>
#include <vector>

#include "sized_query.h"
#include "trace.h"

namespace orvandel {

namespace {

// In the platform's own units: characters for the user and remote names,
// bytes for the universal-name block.
constexpr std::uint32_t nameBufferSize = 80;
constexpr std::uint32_t universalNameBlockSize = 250;

// Adapts a WNet call's DWORD size to querySized's 32-bit size.
template <typename Unit, typename Call>
auto withDwordSize(Call call) {
  return [call](Unit* buffer, std::uint32_t* size) {
    DWORD dwordSize = *size;
    const DWORD result = call(buffer, &dwordSize);
    *size = dwordSize;
    return static_cast<std::uint32_t>(result);
  };
}

// The universal name in a UNIVERSAL_NAME_INFOW block, which the platform
// places inside the block after the record; anything else is no answer.
std::optional<std::wstring> universalNameIn(const std::vector<char>& block) {
  const wchar_t* name = reinterpret_cast<const UNIVERSAL_NAME_INFOW*>(block.data())->lpUniversalName;
  const auto at = reinterpret_cast<std::uintptr_t>(name);
  const auto start = reinterpret_cast<std::uintptr_t>(block.data());
  if (at < start || at >= start + block.size() || at % alignof(wchar_t) != 0) return std::nullopt;
  return terminatedText(name, (start + block.size() - at) / sizeof(wchar_t));
}

}  // namespace

std::optional<std::wstring> mountLocationFor(const wchar_t* localPath) {
  std::vector<char> block;
  const DWORD result = querySized(block, universalNameBlockSize, withDwordSize<char>([&](char* buffer, DWORD* size) {
    return ::WNetGetUniversalNameW(localPath, UNIVERSAL_NAME_INFO_LEVEL, buffer, size);
  }));
  traceString("getMountLocationFor: Getting path for %s\n", localPath);
  std::optional<std::wstring> name;
  if (result == NO_ERROR) name = universalNameIn(block);
  if (!name) {
    traceNumber("getMountLocationFor: Error Getting Path:\t%d\n", static_cast<std::int32_t>(result));
    return std::nullopt;
  }
  traceString("getMountLocationFor: Successfully got path %s\n", name->c_str());
  return name;
}

std::optional<std::wstring> userIdFor(const wchar_t* name) {
  traceString("getUserIDFor: Getting user ID for %s\n", name);
  std::vector<wchar_t> buffer;
  const DWORD result = querySized(buffer, nameBufferSize, withDwordSize<wchar_t>([&](wchar_t* user, DWORD* length) {
    return ::WNetGetUserW(name, user, length);
  }));
  if (result != NO_ERROR) {
    traceNumber("getUserIDFor: Error Getting User ID:\t%d\n", static_cast<std::int32_t>(result));
    return std::nullopt;
  }
  std::wstring user = terminatedText(buffer.data(), buffer.size());
  traceString("getUserIDFor: Successfully got user ID: %s\n", user.c_str());
  return user;
}

std::optional<std::wstring> hostNameFor(const wchar_t* localName) {
  std::vector<wchar_t> buffer;
  const DWORD result =
      querySized(buffer, nameBufferSize, withDwordSize<wchar_t>([&](wchar_t* remote, DWORD* length) {
        return ::WNetGetConnectionW(localName, remote, length);
      }));
  traceString("getHostNameFor: Getting host name for %s\n", localName);
  if (result != NO_ERROR) {
    traceNumber("getHostNameFor: Error getting host name, error is: %d\n", static_cast<std::int32_t>(result));
    return std::nullopt;
  }
  std::wstring remote = terminatedText(buffer.data(), buffer.size());
  traceString("getHostNameFor: Done getting host name, host is: %s\n", remote.c_str());
  return remote;
}

bool cancelConnection(const wchar_t* name) {
  if (::WNetCancelConnection2W(name, CONNECT_UPDATE_PROFILE, FALSE) == NO_ERROR) return true;
  return ::WNetCancelConnectionW(name, FALSE) == NO_ERROR;
}

}  // namespace orvandel
