// The test for a common slope across all groups.
#pragma once

#include "korvel/random_stream.h"
#include "korvel/settings.h"
#include "stats/estimators.h"
#include "stats/events.h"
#include "stats/group.h"

namespace korvel {

struct CommonSlopeResult {
    int groups = 0;          // number of groups
    int points = 0;          // number of points
    double b = 0;            // common slope (the last iterate when the iteration failed)
    double T = 0, p = 0;     // statistic and its p-value
    bool common = false;     // p > critical p: the groups share the slope
    double low = 0, upp = 0; // confidence limits, only when common
    double T0 = 0, p0 = 0;   // test of common slope = hypothesised slope, only when common and one is set
};

CommonSlopeResult testCommonSlope(const Estimator& estimator, ErrorVariances errors, const GroupMap& groups,
                                  const AnalysisSettings& settings, AnalysisEvents& events, RandomStream& random);

} // namespace korvel
