#include "connection_queries.h"

#include <windows.h>
#include <winnetwk.h>

#include <vector>

#include "sized_query.h"
#include "trace.h"

namespace orvandel {

namespace {

constexpr std::uint32_t nameBufferSize = 80;
constexpr std::uint32_t universalNameBlockSize = 250;

// Adapts a WNet call's DWORD size to querySized's 32-bit size.
template <typename Call>
auto withDwordSize(Call call) {
  return [call](char* buffer, std::uint32_t* size) {
    DWORD dwordSize = *size;
    const DWORD result = call(buffer, &dwordSize);
    *size = dwordSize;
    return static_cast<std::uint32_t>(result);
  };
}

// The universal name in a UNIVERSAL_NAME_INFOA block, which the platform
// places inside the block after the record; anything else is no answer.
std::optional<std::string> universalNameIn(const std::vector<char>& block) {
  const char* name = reinterpret_cast<const UNIVERSAL_NAME_INFOA*>(block.data())->lpUniversalName;
  const char* end = block.data() + block.size();
  if (name < block.data() || name >= end) return std::nullopt;
  return terminatedText(name, end - name);
}

}  // namespace

std::optional<std::string> mountLocationFor(const char* localPath) {
  std::vector<char> block;
  const DWORD result = querySized(block, universalNameBlockSize, withDwordSize([&](char* buffer, DWORD* size) {
    return ::WNetGetUniversalNameA(localPath, UNIVERSAL_NAME_INFO_LEVEL, buffer, size);
  }));
  traceString("getMountLocationFor: Getting path for %s\n", localPath);
  std::optional<std::string> name;
  if (result == NO_ERROR) name = universalNameIn(block);
  if (!name) {
    traceNumber("getMountLocationFor: Error Getting Path:\t%d\n", static_cast<std::int32_t>(result));
    return std::nullopt;
  }
  traceString("getMountLocationFor: Successfully got path %s\n", name->c_str());
  return name;
}

std::optional<std::string> userIdFor(const char* name) {
  traceString("getUserIDFor: Getting user ID for %s\n", name);
  std::vector<char> buffer;
  const DWORD result = querySized(buffer, nameBufferSize, withDwordSize([&](char* user, DWORD* length) {
    return ::WNetGetUserA(name, user, length);
  }));
  if (result != NO_ERROR) {
    traceNumber("getUserIDFor: Error Getting User ID:\t%d\n", static_cast<std::int32_t>(result));
    return std::nullopt;
  }
  std::string user = terminatedText(buffer.data(), buffer.size());
  traceString("getUserIDFor: Successfully got user ID: %s\n", user.c_str());
  return user;
}

std::optional<std::string> hostNameFor(const char* localName) {
  std::vector<char> buffer;
  const DWORD result = querySized(buffer, nameBufferSize, withDwordSize([&](char* remote, DWORD* length) {
    return ::WNetGetConnectionA(localName, remote, length);
  }));
  traceString("getHostNameFor: Getting host name for %s\n", localName);
  if (result != NO_ERROR) {
    traceNumber("getHostNameFor: Error getting host name, error is: %d\n", static_cast<std::int32_t>(result));
    return std::nullopt;
  }
  std::string remote = terminatedText(buffer.data(), buffer.size());
  traceString("getHostNameFor: Done getting host name, host is: %s\n", remote.c_str());
  return remote;
}

bool cancelConnection(const char* name) {
  if (::WNetCancelConnection2A(name, CONNECT_UPDATE_PROFILE, FALSE) == NO_ERROR) return true;
  return ::WNetCancelConnectionA(name, FALSE) == NO_ERROR;
}

}  // namespace orvandel
