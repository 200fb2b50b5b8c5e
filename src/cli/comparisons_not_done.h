// What a run from options was asked for and could not do: the comparisons
// that did not apply and the saved scores that were not written.
#pragma once

#include <vector>

#include "cli/command_line.h"
#include "json/results_json.h"
#include "stats/analysis_results.h"

namespace korvel {

// Each comparison or output asked for that did not apply, and why: pairs of
// slopes that do not differ, tests of lines (and the saved scores, which are
// theirs) whose slopes differ or of a single group, pairs of a test that found
// no shift.
std::vector<NotDone> whatWasNotDone(const AnalysisRequest& r, const AnalysisResults& results);

// One line on standard error for each: "korvel: OPTION not done: REASON".
void sayWhatWasNotDone(const std::vector<NotDone>& notDone);

} // namespace korvel
