// Every pair of groups tested for a common slope, as all groups were.
#pragma once

#include "korvel/random_stream.h"
#include "korvel/settings.h"
#include "stats/estimators.h"
#include "korvel/events.h"
#include "stats/group.h"
#include "korvel/results.h"

namespace korvel {

// Pairs in the order (2nd, 1st), (3rd, 1st), (3rd, 2nd), ... of map order;
// event pairSlopeDidNotConverge when a pair's slope fails the limit (its slope
// then none, its statistic and p-value at the slope the iteration left), and
// pairCompared after each pair.
PairTable<SlopePair> compareSlopes(const Estimator& estimator, ErrorVariances errors, const GroupMap& groups,
                                   const AnalysisSettings& settings, AnalysisEvents& events, RandomStream& random);

} // namespace korvel
