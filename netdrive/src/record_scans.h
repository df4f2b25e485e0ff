#pragma once
// The two scans of one batch of enumerated network resources. Record is the
// platform's resource record (any type with the character pointers
// lpLocalName, lpRemoteName, lpComment and lpProvider, of any character
// type), so the scans build and are tested off the platform as well.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "trace.h"

namespace orvandel {

// Whether a batch that the platform answered lies in the buffer it was given
// (`size` bytes): no more records than fit, and every text of theirs starting
// inside the buffer, aligned for its characters, and ending there. The
// platform's word is all the scans have to go on, so a batch that fails this
// is not read at all.
template <typename Record>
bool batchLiesInBuffer(const void* buffer, std::size_t size, std::size_t count) {
  if (count > size / sizeof(Record)) return false;
  const auto start = reinterpret_cast<std::uintptr_t>(buffer);
  const std::uintptr_t end = start + size;
  const auto inside = [&](const auto* text) {
    using Char = std::remove_cv_t<std::remove_pointer_t<decltype(text)>>;
    if (!text) return true;
    const auto at = reinterpret_cast<std::uintptr_t>(text);
    if (at < start || at >= end || at % alignof(Char) != 0) return false;
    return std::char_traits<Char>::find(text, (end - at) / sizeof(Char), Char{}) != nullptr;
  };
  const auto* records = static_cast<const Record*>(buffer);
  for (std::size_t i = 0; i < count; ++i) {
    const Record& record = records[i];
    if (!inside(record.lpLocalName) || !inside(record.lpRemoteName) || !inside(record.lpComment) ||
        !inside(record.lpProvider)) {
      return false;
    }
  }
  return true;
}

// Appends the local name of every record that has one, in the batch's order,
// with nothing between them.
template <typename Record, typename Text>
void appendLocalNames(std::span<const Record> batch, Text& names) {
  traceText("EnumerateFunc: Before for loop\n");
  for (std::size_t i = 0; i < batch.size(); ++i) {
    const Record& record = batch[i];
    traceNumber("EnumerateFunc: In for loop i = %d\n", static_cast<std::int32_t>(i));
    if (record.lpLocalName) {
      traceText("EnumerateFunc: Found local name.\n");
      traceString("EnumerateFunc: Local name is: %s\n", record.lpLocalName);
      names += record.lpLocalName;
    }
    if (record.lpRemoteName) {
      traceText("EnumerateFunc: Found remote name.\n");
      traceString("EnumerateFunc: Remote name is: %s.\n", record.lpRemoteName);
    }
    if (record.lpComment) {
      traceText("EnumerateFunc: Found Comment.\n");
      traceString("EnumerateFunc: Comment is: %s.\n", record.lpComment);
    }
    if (record.lpProvider) {
      traceText("EnumerateFunc: Found Provider.\n");
      traceString("EnumerateFunc: Provider is: %s.\n", record.lpProvider);
    }
    traceText("EnumerateFunc: End for Loop.\n");
  }
  traceText("EnumerateFunc: End if no error.\n");
}

// Appends the provider name of the first record whose local name equals drive
// unit for unit (case and length included). A record without a local name
// never matches; a matching record without a provider name adds nothing.
template <typename Record, typename Text>
void appendMatchingProvider(std::span<const Record> batch, std::basic_string_view<typename Text::value_type> drive,
                            Text& providers) {
  traceText("findProviderNameFor: Preparing to enumerate connections for a provider name.\n");
  for (std::size_t i = 0; i < batch.size(); ++i) {
    const Record& record = batch[i];
    traceText("findProviderNameFor: Start for loop");
    traceNumber("findProviderNameFor: loop index is: %d\n", static_cast<std::int32_t>(i));
    if (!record.lpLocalName) continue;
    traceString("findProviderNameFor: Local Name:\t%s\n", record.lpLocalName);
    if (drive != record.lpLocalName) continue;
    traceString("findProviderNameFor: Found name for drive.  Provider name is: %s\n", record.lpProvider);
    if (record.lpProvider) providers += record.lpProvider;
    break;
  }
  traceText("findProviderNameFor: Done enumerating all connections.\n");
}

}  // namespace orvandel
