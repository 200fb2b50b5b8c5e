// Filter questions: for each filter column the user says whether it is
// categorical or scalar and which of its values remove a data line.
#pragma once

#include <map>
#include <string>
#include <vector>

// Class label of a scalar cell: "> max" above the maximum, "< min" below the
// minimum, "> min & < max" otherwise (a value equal to a bound is in the
// middle class). Numbers are read as StrTodouble reads them.
std::string scalarLabel(const std::string& cell, const std::string& min, const std::string& max);

// Replaces cells 1 .. size-1 of a filter column by their scalar labels.
void relabelScalar(std::vector<std::string>& column, const std::string& min, const std::string& max);

// Asks the questions for one filter column (element 0 its name, then one cell
// per data line) and returns its keep map: every distinct cell text, asked
// once in order of first appearance, 0 when answered y (remove), 1 otherwise.
// A scalar filter's cells are relabelled in place first.
std::map<std::string, int> askFilter(std::vector<std::string>& column);
