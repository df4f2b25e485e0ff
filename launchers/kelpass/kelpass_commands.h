#pragma once
// The two command lines kelpass can run, as the started program must receive
// them (before escaping for the command interpreter).

#include <span>
#include <string>
#include <string_view>

namespace kel {

std::u16string defaultWorkspace(std::u16string_view installDir);

// The headless password application on a free workspace.
std::u16string applicationCommand(std::u16string_view installDir, std::u16string_view workspace,
                                  std::span<const std::u16string> passThrough);

// keltool handing the request to the running tool server.
std::u16string serverCommand(std::u16string_view installDir, std::span<const std::u16string> passThrough);

inline constexpr const char* kLockedWorkspaceMessage =
    "The workspace is locked and KELtool server is not running. Either close KEL Toolkit, or turn "
    "on KELtool server before running kelpass.";

// keltool's answer when the workspace is locked and no tool server runs.
inline constexpr int kToolServerNotRunning = -99;

}  // namespace kel
