// What a run from options says of the comparisons it was asked for and could
// not make.
#pragma once

#include "app/command_line.h"
#include "stats/analysis_results.h"

namespace korvel {

// One line on standard error for each comparison asked for that did not
// apply, and why: pairs of slopes that do not differ, tests of lines whose
// slopes differ or of a single group, pairs of a test that found no shift.
void sayWhatWasNotDone(const AnalysisRequest& r, const AnalysisResults& results);

} // namespace korvel
