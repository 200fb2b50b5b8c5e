// Protects the data file from being written over.
#pragma once

#include <string>

namespace korvel {

// True when the two names refer to the same file: equal names, the same
// existing file reached by two paths, or the same path once normalised.
bool sameFile(const std::string& a, const std::string& b);

} // namespace korvel
