#pragma once
// The questions about one connection that need a single platform call (and
// at most one more, with the room the platform names). Names are UTF-16, as
// the platform's wide functions take and give them; each answer is empty
// when the platform failed.

#include <optional>
#include <string>

namespace orvandel {

// The universal name behind a local path.
std::optional<std::u16string> mountLocationFor(const std::u16string& localPath);
// The user name under which a connection was made.
std::optional<std::u16string> userIdFor(const std::u16string& name);
// The whole remote name (server and share) of a local device.
std::optional<std::u16string> hostNameFor(const std::u16string& localName);
// Cancels a connection, dropping it from the remembered ones too; true when a
// cancellation succeeded.
bool cancelConnection(const std::u16string& name);

}  // namespace orvandel
