// Every pair of groups tested for a common slope, as all groups were.
#pragma once

#include "korvel/random_stream.h"
#include "korvel/settings.h"
#include "stats/estimators.h"
#include "stats/events.h"
#include "stats/group.h"
#include "stats/pair_table.h"

namespace korvel {

struct SlopePair {
    double slope = 0; // the pair's common slope, 0 when its iteration failed
    double stat = 0;  // statistic at the slope the iteration left
    double p = 0;     // p-value at the recorded slope
    double adjustedP = 0; // p adjusted for the number of pairs (adjustPairs)
};

// Pairs in the order (2nd, 1st), (3rd, 1st), (3rd, 2nd), ... of map order;
// event pairSlopeDidNotConverge when a pair's slope fails the limit, and
// pairCompared after each pair.
PairTable<SlopePair> compareSlopes(const Estimator& estimator, ErrorVariances errors, const GroupMap& groups,
                                   const AnalysisSettings& settings, AnalysisEvents& events, RandomStream& random);

} // namespace korvel
