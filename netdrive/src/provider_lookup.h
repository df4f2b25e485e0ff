#pragma once

#include <string>

namespace orvandel {

// Appends to providers the provider name of the connected disk resource whose
// local name is exactly drive. False when the enumeration cannot be started.
bool findProviderNameFor(const wchar_t* drive, std::wstring& providers);

}  // namespace orvandel
