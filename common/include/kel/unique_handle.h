#pragma once
// Kernel handles closed with CloseHandle.

#include <windows.h>

#include "kel/unique_any.h"

namespace kel {

struct handle_traits {
  using type = HANDLE;
  static type invalid() noexcept { return nullptr; }
  static void close(type handle) noexcept { ::CloseHandle(handle); }
};

// For the few APIs that answer INVALID_HANDLE_VALUE instead of null.
struct file_handle_traits {
  using type = HANDLE;
  static type invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void close(type handle) noexcept { ::CloseHandle(handle); }
};

using unique_handle = unique_any<handle_traits>;
using unique_file_handle = unique_any<file_handle_traits>;

}  // namespace kel
