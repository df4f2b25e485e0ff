#pragma once
// The questions about one connection that need a single platform call.
// Names are UTF-16, as the platform's wide functions take and give them.
// Each answer is empty when the platform failed.

#include <optional>
#include <string>

namespace orvandel {

// The universal name behind a local path.
std::optional<std::wstring> mountLocationFor(const wchar_t* localPath);
// The user name under which a connection was made.
std::optional<std::wstring> userIdFor(const wchar_t* name);
// The whole remote name (server and share) of a local device.
std::optional<std::wstring> hostNameFor(const wchar_t* localName);
// Cancels a connection, dropping it from the remembered ones too; true when a
// cancellation succeeded.
bool cancelConnection(const wchar_t* name);

}  // namespace orvandel
