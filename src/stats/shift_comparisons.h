// Every pair of groups compared by the Wald test of the two groups alone, for
// a shift in elevation or along the common slope.
#pragma once

#include "korvel/results.h"
#include "stats/estimators.h"

namespace korvel {

// Pairs in the order (2nd, 1st), (3rd, 1st), (3rd, 2nd), ... of name order:
// each pair's signed difference of mean scores (the later group's less the
// earlier one's), the standard error |difference| / sqrt(statistic) (NaN when
// the statistic is 0), 1 degree of freedom, the statistic and its p-value.
PairTable<ShiftPair> compareShifts(const Estimator& estimator, const LinesWithCommonSlope& lines, ScoreAxis axis,
                                   double criticalP);

} // namespace korvel
