// Protects the data file from being written over.
#pragma once

#include <string>

namespace korvel {

// True when the two names refer to the same file: equal names, the same
// existing file reached by two paths (a hard link included), or the same path
// once every symbolic link along it is followed (a link to a file that does
// not exist yet, and a chain of links, included) and it is normalised.
bool sameFile(const std::string& a, const std::string& b);

} // namespace korvel
