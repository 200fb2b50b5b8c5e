// Filter questions: for each filter column the user says whether it is
// categorical or scalar and which of its values remove a data line.
#pragma once

#include <map>
#include <string>

#include "dialogue/console_input.h"
#include "data/loaded_data.h"

namespace korvel {

// Asks the questions for one filter column and returns its decisions: every
// distinct cell, asked once in order of first appearance, false (remove) when
// answered y. A scalar filter's cells are first sorted into the classes typed,
// which the choice keeps for later loads.
std::map<std::string, bool> askFilter(Console& console, LabelColumn& column, FilterChoice& choice);

} // namespace korvel
