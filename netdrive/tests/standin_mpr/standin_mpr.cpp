// A stand-in for the platform's mpr.dll, for tests only: a scripted network
// provider. It serves the wide WNet functions the library uses from
// connections that the test adds, fills its answers the way the platform does
// (records first, strings after them; ERROR_MORE_DATA with the size needed,
// in characters or bytes as each function counts), counts open enumerations
// and logs every call. Its texts come and go in modified UTF-8, which holds
// any sequence of UTF-16 units exactly, so the log shows precisely what the
// library asked.

#include <windows.h>
#include <winnetwk.h>

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kel/text_encoding.h"
#include "standin_control.h"

namespace {

struct Connection {
  std::optional<std::wstring> local;
  std::wstring remote;
  std::optional<std::wstring> provider;
  std::optional<std::wstring> comment;
  std::wstring user;
  DWORD type;
};

struct Enumeration {
  DWORD type;
  std::size_t next = 0;
  DWORD batches = 0;
  DWORD emptyServed = 0;
};

struct Script {
  std::uintptr_t enumerations = 0;
  std::vector<Connection> connections;
  std::map<std::string, DWORD> forced;
  DWORD batchLimit = standin::FOR_EVER;
  std::optional<std::pair<DWORD, DWORD>> failingBatch;
  std::optional<std::pair<DWORD, standin::Corruption>> corruptBatch;
  DWORD emptyBatches = 0;
  std::map<HANDLE, std::unique_ptr<Enumeration>> open;
  std::string log;
};

Script script;

std::wstring wide(const char* modifiedUtf8) {
  const std::u16string units = kel::text::decodeModifiedUtf8(modifiedUtf8).value();
  return std::wstring(units.begin(), units.end());
}

std::string quoted(const wchar_t* text) {
  if (!text) return "null";
  return '"' + kel::text::encodeModifiedUtf8(std::u16string(text, text + std::wcslen(text))) + '"';
}

DWORD logged(const std::string& call, DWORD result, const std::string& after = {}) {
  script.log += call + " -> " + std::to_string(result) + after + "\n";
  return result;
}

std::optional<DWORD> forced(const char* function) {
  const auto it = script.forced.find(function);
  if (it == script.forced.end()) return std::nullopt;
  return it->second;
}

const Connection* connectedAs(const wchar_t* local) {
  for (const Connection& c : script.connections)
    if (local && c.local && *c.local == local) return &c;
  return nullptr;
}

// Copies text into a caller's buffer the way the name functions do; sizes
// are in characters.
DWORD answerName(const std::wstring& text, LPWSTR buffer, LPDWORD size) {
  const DWORD needed = static_cast<DWORD>(text.size() + 1);
  if (*size < needed) {
    *size = needed;
    return ERROR_MORE_DATA;
  }
  std::wmemcpy(buffer, text.c_str(), needed);
  return NO_ERROR;
}

// A forced result; ERROR_MORE_DATA keeps asking for more than was given.
std::optional<DWORD> forcedNameResult(const char* function, LPDWORD size) {
  const std::optional<DWORD> result = forced(function);
  if (result == DWORD{ERROR_MORE_DATA}) *size += 100;
  return result;
}

bool allZero(const void* buffer, DWORD size) {
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  for (DWORD i = 0; i < size; ++i)
    if (bytes[i]) return false;
  return true;
}

std::size_t stringBytes(const Connection& c) {
  auto units = [](const std::optional<std::wstring>& s) { return s ? s->size() + 1 : 0; };
  return (units(c.local) + c.remote.size() + 1 + units(c.comment) + units(c.provider)) * sizeof(wchar_t);
}

// Fills records at the start of the buffer and their strings after them.
void fillBatch(const std::vector<const Connection*>& batch, void* buffer) {
  auto* records = static_cast<NETRESOURCEW*>(buffer);
  auto* strings = reinterpret_cast<wchar_t*>(records + batch.size());
  auto place = [&](const std::optional<std::wstring>& s) -> LPWSTR {
    if (!s) return nullptr;
    LPWSTR at = strings;
    std::wmemcpy(at, s->c_str(), s->size() + 1);
    strings += s->size() + 1;
    return at;
  };
  for (std::size_t i = 0; i < batch.size(); ++i) {
    const Connection& c = *batch[i];
    records[i] = NETRESOURCEW{RESOURCE_CONNECTED, c.type, RESOURCEDISPLAYTYPE_SHARE, RESOURCEUSAGE_CONNECTABLE,
                              place(c.local), place(c.remote), place(c.comment), place(c.provider)};
  }
}

// Spoils a served batch of `count` records in `buffer` (`size` bytes).
void corrupt(standin::Corruption corruption, NETRESOURCEW* records, DWORD asked, LPDWORD count, DWORD size) {
  static wchar_t providersOwn[] = L"X:";
  auto* bytes = reinterpret_cast<char*>(records);
  switch (corruption) {
    case standin::countLeftAsAsked:
      *count = asked;
      break;
    case standin::countBeyondBuffer:
      *count = size / sizeof(NETRESOURCEW) + 1;
      break;
    case standin::nameOutsideBuffer:
      records[0].lpLocalName = providersOwn;
      break;
    case standin::nameUnterminated: {
      auto* tail = reinterpret_cast<wchar_t*>(bytes + size) - 8;
      std::wmemset(tail, L'z', 8);
      records[0].lpRemoteName = tail;
      break;
    }
    case standin::nameMisaligned:
      records[0].lpComment = reinterpret_cast<LPWSTR>(bytes + size / 2 + 1);
      break;
  }
}

// The pieces of `text` between separators.
std::vector<std::wstring> split(const std::wstring& text, wchar_t separator) {
  std::vector<std::wstring> pieces;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(separator, start)) != std::wstring::npos; start = end + 1)
    pieces.push_back(text.substr(start, end - start));
  pieces.push_back(text.substr(start));
  return pieces;
}

// Disk connections scripted before the process starts, for a caller that
// cannot reach the control functions (a Java VM): KEL_STANDIN_CONNECTIONS
// holds LOCAL,REMOTE,PROVIDER,USER entries separated by |.
void connectFromEnvironment() {
  std::wstring value(32767, L'\0');
  value.resize(::GetEnvironmentVariableW(L"KEL_STANDIN_CONNECTIONS", value.data(), static_cast<DWORD>(value.size())));
  if (value.empty()) return;
  for (const std::wstring& entry : split(value, L'|')) {
    const std::vector<std::wstring> fields = split(entry, L',');
    if (fields.size() == 4)
      script.connections.push_back(Connection{fields[0], fields[1], fields[2], L"a comment", fields[3], RESOURCETYPE_DISK});
  }
}

DWORD cancel(const wchar_t* name) {
  for (auto it = script.connections.begin(); it != script.connections.end(); ++it) {
    if (name && ((it->local && *it->local == name) || it->remote == name)) {
      script.connections.erase(it);
      return NO_ERROR;
    }
  }
  return ERROR_NOT_CONNECTED;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) connectFromEnvironment();
  return TRUE;
}

__declspec(dllexport) DWORD WINAPI WNetGetUniversalNameW(LPCWSTR localPath, DWORD level, LPVOID buffer, LPDWORD size) {
  const std::string call = "WNetGetUniversalNameW path=" + quoted(localPath) + " level=" + std::to_string(level) +
                           " size=" + std::to_string(*size);
  if (const auto result = forcedNameResult("WNetGetUniversalNameW", size)) return logged(call, *result);
  if (level != UNIVERSAL_NAME_INFO_LEVEL) return logged(call, ERROR_INVALID_LEVEL);
  for (const Connection& c : script.connections) {
    if (!localPath || !c.local || std::wcsncmp(localPath, c.local->c_str(), c.local->size()) != 0) continue;
    const std::wstring universal = c.remote + (localPath + c.local->size());
    const DWORD needed = static_cast<DWORD>(sizeof(UNIVERSAL_NAME_INFOW) + (universal.size() + 1) * sizeof(wchar_t));
    if (*size < needed) {
      *size = needed;
      return logged(call, ERROR_MORE_DATA, " needed=" + std::to_string(needed));
    }
    auto* info = static_cast<UNIVERSAL_NAME_INFOW*>(buffer);
    info->lpUniversalName = reinterpret_cast<LPWSTR>(info + 1);
    std::wmemcpy(info->lpUniversalName, universal.c_str(), universal.size() + 1);
    return logged(call, NO_ERROR);
  }
  return logged(call, ERROR_NOT_CONNECTED);
}

// A null or empty name asks for the current user, as on the platform.
__declspec(dllexport) DWORD WINAPI WNetGetUserW(LPCWSTR name, LPWSTR user, LPDWORD length) {
  const std::string call = "WNetGetUserW name=" + quoted(name) + " size=" + std::to_string(*length);
  if (const auto result = forcedNameResult("WNetGetUserW", length)) return logged(call, *result);
  if (!name || !*name) return logged(call, answerName(L"standin-user", user, length));
  for (const Connection& c : script.connections) {
    if ((c.local && *c.local == name) || c.remote == name) return logged(call, answerName(c.user, user, length));
  }
  return logged(call, ERROR_NOT_CONNECTED);
}

__declspec(dllexport) DWORD WINAPI WNetGetConnectionW(LPCWSTR localName, LPWSTR remote, LPDWORD length) {
  const std::string call = "WNetGetConnectionW name=" + quoted(localName) + " size=" + std::to_string(*length);
  if (const auto result = forcedNameResult("WNetGetConnectionW", length)) return logged(call, *result);
  const Connection* c = connectedAs(localName);
  return logged(call, c ? answerName(c->remote, remote, length) : ERROR_NOT_CONNECTED);
}

__declspec(dllexport) DWORD WINAPI WNetCancelConnection2W(LPCWSTR name, DWORD flags, BOOL force) {
  const std::string call = "WNetCancelConnection2W name=" + quoted(name) + " flags=" + std::to_string(flags) +
                           " force=" + std::to_string(force);
  if (const auto result = forced("WNetCancelConnection2W")) return logged(call, *result);
  return logged(call, cancel(name));
}

__declspec(dllexport) DWORD WINAPI WNetCancelConnectionW(LPCWSTR name, BOOL force) {
  const std::string call = "WNetCancelConnectionW name=" + quoted(name) + " force=" + std::to_string(force);
  if (const auto result = forced("WNetCancelConnectionW")) return logged(call, *result);
  return logged(call, cancel(name));
}

__declspec(dllexport) DWORD WINAPI WNetOpenEnumW(DWORD scope, DWORD type, DWORD usage, LPNETRESOURCEW container,
                                                 LPHANDLE enumeration) {
  const std::string call = "WNetOpenEnumW scope=" + std::to_string(scope) + " type=" + std::to_string(type) +
                           " usage=" + std::to_string(usage) + " container=" + (container ? "given" : "null");
  if (const auto result = forced("WNetOpenEnumW")) {
    if (*result == NO_ERROR) *enumeration = nullptr;
    return logged(call, *result);
  }
  if (scope != RESOURCE_CONNECTED || container) return logged(call, ERROR_NOT_SUPPORTED);
  // Handles from the top quarter of the address range: above 4 GiB on
  // 64-bit, so that a handle cut to 32 bits is not recognised.
  constexpr std::uintptr_t topQuarter = std::uintptr_t{1} << (sizeof(void*) * 8 - 2);
  *enumeration = reinterpret_cast<HANDLE>(topQuarter + ++script.enumerations);
  script.open.emplace(*enumeration, std::make_unique<Enumeration>(Enumeration{type}));
  return logged(call, NO_ERROR);
}

// Serves the scripted connections of the enumeration's type in order, as
// many per batch as the caller asks for, the batch limit allows and the
// caller's buffer holds.
__declspec(dllexport) DWORD WINAPI WNetEnumResourceW(HANDLE handle, LPDWORD count, LPVOID buffer, LPDWORD size) {
  const DWORD asked = *count;
  const std::string call = "WNetEnumResourceW count=" + std::to_string(*count) + " size=" + std::to_string(*size) +
                           " clean=" + (allZero(buffer, *size) ? "yes" : "no");
  if (const auto result = forced("WNetEnumResourceW")) return logged(call, *result);
  const auto open = script.open.find(handle);
  if (open == script.open.end()) return logged(call, ERROR_INVALID_HANDLE);
  Enumeration& e = *open->second;
  const DWORD batch = e.batches++;
  if (script.failingBatch && script.failingBatch->first == batch) return logged(call, script.failingBatch->second);
  if (e.emptyServed < script.emptyBatches) {
    ++e.emptyServed;
    *count = 0;
    return logged(call, NO_ERROR, " entries=0");
  }

  std::vector<const Connection*> remaining;
  for (std::size_t i = e.next; i < script.connections.size(); ++i)
    if (e.type == RESOURCETYPE_ANY || script.connections[i].type == e.type) remaining.push_back(&script.connections[i]);
  if (remaining.empty()) return logged(call, ERROR_NO_MORE_ITEMS);

  std::vector<const Connection*> served;
  std::size_t bytes = 0;
  for (const Connection* c : remaining) {
    if (served.size() == *count || served.size() == script.batchLimit) break;
    const std::size_t withThis = bytes + sizeof(NETRESOURCEW) + stringBytes(*c);
    if (withThis > *size) {
      if (served.empty()) {
        *size = static_cast<DWORD>(withThis);
        return logged(call, ERROR_MORE_DATA, " needed=" + std::to_string(withThis));
      }
      break;
    }
    served.push_back(c);
    bytes = withThis;
  }
  *count = static_cast<DWORD>(served.size());
  if (served.empty()) return logged(call, NO_ERROR, " entries=0");
  fillBatch(served, buffer);
  e.next = static_cast<std::size_t>(served.back() - script.connections.data()) + 1;
  if (script.corruptBatch && script.corruptBatch->first == batch) {
    corrupt(script.corruptBatch->second, static_cast<NETRESOURCEW*>(buffer), asked, count, *size);
    return logged(call, NO_ERROR, " corrupted");
  }
  return logged(call, NO_ERROR, " entries=" + std::to_string(served.size()));
}

__declspec(dllexport) DWORD WINAPI WNetCloseEnum(HANDLE handle) {
  const bool known = script.open.erase(handle) == 1;
  return logged("WNetCloseEnum", known ? NO_ERROR : ERROR_INVALID_HANDLE);
}

__declspec(dllexport) void standinReset() { script = Script{}; }

__declspec(dllexport) void standinAddConnection(const char* local, const char* remote, const char* provider,
                                                const char* comment, const char* user, DWORD type) {
  auto optional = [](const char* s) { return s ? std::optional<std::wstring>(wide(s)) : std::nullopt; };
  script.connections.push_back(Connection{optional(local), wide(remote ? remote : ""), optional(provider),
                                          optional(comment), wide(user ? user : ""), type});
}

__declspec(dllexport) void standinForceResult(const char* function, DWORD result) { script.forced[function] = result; }

__declspec(dllexport) void standinSetBatchLimit(DWORD records) { script.batchLimit = records; }

__declspec(dllexport) void standinFailBatch(DWORD batch, DWORD result) { script.failingBatch.emplace(batch, result); }

__declspec(dllexport) void standinCorruptBatch(DWORD batch, standin::Corruption corruption) {
  script.corruptBatch.emplace(batch, corruption);
}

__declspec(dllexport) void standinServeEmptyBatches(DWORD batches) { script.emptyBatches = batches; }

__declspec(dllexport) DWORD standinOpenEnumerations() { return static_cast<DWORD>(script.open.size()); }

__declspec(dllexport) DWORD standinCallLog(char* buffer, DWORD size) {
  const DWORD needed = static_cast<DWORD>(script.log.size() + 1);
  if (buffer && size >= needed) std::memcpy(buffer, script.log.c_str(), needed);
  return needed;
}

}  // extern "C"
