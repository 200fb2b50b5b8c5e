// The slope shared by all groups of a map: its estimate, the likelihood-ratio
// statistic and its confidence interval.
#pragma once

#include <utility>

#include "stats/estimators.h"
#include "stats/events.h"
#include "stats/group.h"

namespace korvel {

struct CommonSlope {
    double slope = 0;   // the estimate (the last iterate when the iteration failed)
    int iterations = 0; // the iterations used, for the caller to compare with its convergence limit
};

// Iterates the common slope of the groups from the pooled start value until
// two iterates differ by less than 0.0001, or 200 iterations (then the event
// slopesDidNotConverge and the last iterate). A stop that the next update
// shows short of the fixed point of the iteration is carried on to that fixed
// point.
CommonSlope fitCommonSlope(const Estimator& estimator, const GroupMap& groups, AnalysisEvents& events);

// Likelihood-ratio statistic of how far the groups are from sharing the slope
// b: the sum over groups of -(df - 1/2) ln(1 - c^2 / (r f)), the axis moments
// at b.
double commonSlopeStatistic(const Estimator& estimator, const GroupMap& groups, double b);

// Likelihood-ratio statistic of the hypothesis that the common slope is b0,
// given its estimate b: the sum over groups of (df - 1/2) ln(q(b0) / q(b)),
// q = f r / scale^2 (infinite for SMA at b0 = 0).
double hypothesisedSlopeStatistic(const Estimator& estimator, const GroupMap& groups, double b, double b0);

// Confidence limits of the common slope b at confidence percent, where the
// statistic of the hypothesis b0 = limit meets the chi-squared quantile:
// first the limit of the search from below b, then from above (for a negative
// slope the names follow the searches).
std::pair<double, double> commonSlopeLimits(const Estimator& estimator, const GroupMap& groups, double confidence,
                                            double b);

} // namespace korvel
