#pragma once

#include <string>

namespace orvandel {

// Appends to names the local name of every connected disk resource, in the
// platform's order. False when the enumeration cannot be started.
bool EnumerateFunc(std::wstring& names);

}  // namespace orvandel
