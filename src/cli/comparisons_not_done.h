// What a run from options was asked for and could not do, said on standard
// error.
#pragma once

#include <vector>

#include "korvel/results.h"

namespace korvel {

// One line on standard error for each: "korvel: OPTION not done: REASON".
void sayWhatWasNotDone(const std::vector<NotDone>& notDone);

} // namespace korvel
