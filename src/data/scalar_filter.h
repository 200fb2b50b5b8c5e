// A scalar filter sorts a numeric column into three classes, whose labels then
// take the place of the cells: the filter questions ask about the labels.
#pragma once

#include <string>

#include "data/loaded_data.h"

namespace korvel {

// Class label of a cell: "> max" above the maximum, "< min" below the minimum,
// "> min & < max" otherwise (a value equal to a bound is in the middle class).
// Numbers are read as atof reads them, so text counts as 0.
std::string scalarLabel(const std::string& cell, const ScalarClasses& classes);

// Replaces every cell of the column by its class label; the labels stay in
// order of first appearance.
void sortIntoClasses(LabelColumn& column, const ScalarClasses& classes);

} // namespace korvel
