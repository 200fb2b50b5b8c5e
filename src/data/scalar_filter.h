// A scalar filter sorts a numeric column into three classes, whose labels then
// take the place of the cells: the filter questions ask about the labels.
#pragma once

#include <string>

#include "data/loaded_data.h"

// Class label of a cell: "> max" above the maximum, "< min" below the minimum,
// "> min & < max" otherwise (a value equal to a bound is in the middle class).
// Numbers are read as StrTodouble reads them, so text counts as 0.
std::string scalarLabel(const std::string& cell, const std::string& min, const std::string& max);

// Replaces cells 1 .. size-1 of a filter column by their labels.
void relabelScalar(Column& column, const std::string& min, const std::string& max);
