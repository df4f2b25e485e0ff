#pragma once

#include <string>

namespace orvandel {

// Appends to providers the provider name of the connected disk resource whose
// local name is exactly drive. False when the enumeration cannot be started.
bool findProviderNameFor(const char* drive, std::string& providers);

}  // namespace orvandel
