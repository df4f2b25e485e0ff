#pragma once
// The questions about one connection that need a single platform call.
// Each answer is empty when the platform failed.

#include <optional>
#include <string>

namespace orvandel {

// The universal name behind a local path.
std::optional<std::string> mountLocationFor(const char* localPath);
// The user name under which a connection was made.
std::optional<std::string> userIdFor(const char* name);
// The whole remote name (server and share) of a local device.
std::optional<std::string> hostNameFor(const char* localName);
// Cancels a connection, dropping it from the remembered ones too; true when a
// cancellation succeeded.
bool cancelConnection(const char* name);

}  // namespace orvandel
