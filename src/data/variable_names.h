// Naming a variable of the data file from outside the screens.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace korvel {

// The index of the variable named text in the header: its first column of
// that name, else a whole number (in range) taken as the column's index;
// nothing otherwise.
std::optional<int> variableIndex(const std::vector<std::string>& header, const std::string& text);

} // namespace korvel
