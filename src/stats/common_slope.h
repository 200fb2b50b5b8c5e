// The slope shared by all groups of a map: its estimate, the likelihood-ratio
// statistic with its p-value and the confidence interval, and the test for a
// common slope across the groups.
#pragma once

#include <utility>

#include "korvel/events.h"
#include "korvel/random_stream.h"
#include "korvel/results.h"
#include "korvel/settings.h"
#include "stats/estimators.h"
#include "stats/group.h"

namespace korvel {

struct CommonSlope {
    double slope = 0;     // the estimate (the last iterate when it did not settle)
    int iterations = 0;   // the iterations used, for the caller to compare with its convergence limit
    bool converged = false; // two iterates came closer than the stopping step
    bool rescued = false;   // found as the iteration's fixed point after its 200 iterations
    double last = 0, next = 0; // the last two iterates
    bool settled() const { return converged || rescued; }
};

// Whether a resample or a pair takes the fit as settled: converged in fewer
// iterations than the convergence limit (the resampling iterations), or
// rescued; also, as ever, when the 200 iterations are fewer than the limit.
bool countsAsSettled(const CommonSlope& fit, int convergenceLimit);

// Iterates the common slope of the groups from the pooled start value until
// two iterates differ by less than 0.0001, or 200 iterations. A stop that the
// next update shows short of the fixed point of the iteration is carried on
// to that fixed point. After 200 iterations the fixed point is sought from the
// last two iterates, by Steffensen's method and then by bisection of U(b) - b,
// and taken when one update moves it by at most 1e-10 (relative above 1);
// otherwise the slope is the last iterate and the fit has not settled.
CommonSlope fitCommonSlope(const Estimator& estimator, const GroupMap& groups);

// Likelihood-ratio statistic of how far the groups are from sharing the slope
// b: the sum over groups of -(df - 1/2) ln(1 - c^2 / (r f)), the axis moments
// at b.
double commonSlopeStatistic(const Estimator& estimator, const GroupMap& groups, double b);

// Likelihood-ratio statistic of the hypothesis that the common slope is b0,
// given its estimate b: the sum over groups of (df - 1/2) ln(q(b0) / q(b)),
// q = f r / scale^2 (infinite for SMA at b0 = 0).
double hypothesisedSlopeStatistic(const Estimator& estimator, const GroupMap& groups, double b, double b0);

// Confidence limits of the common slope b at confidence percent: on each side
// of b, the nearest slope where the statistic of the hypothesis b0 = limit
// reaches the chi-squared quantile with one degree of freedom, to 1e-12
// relative (SMA among slopes of b's sign, OLS and MA on the whole line). So
// low <= b <= high; a side where the statistic never reaches the quantile is
// unbounded: -inf or inf (for MA the accepted slopes then run through the
// vertical).
std::pair<double, double> commonSlopeLimits(const Estimator& estimator, const GroupMap& groups, double confidence,
                                            double b);

// p-value of the common-slope statistic of the groups at their common slope b,
// from where the settings say: chi-squared with groups - 1 degrees of
// freedom, or by resampling (resampling.h) with the settings' iterations, a
// resample counting when its common slope settles (countsAsSettled; event
// slopesDidNotConverge when it does not).
double commonSlopePvalue(const Estimator& estimator, ErrorVariances errors, const GroupMap& groups, double b,
                         const AnalysisSettings& settings, AnalysisEvents& events, RandomStream& random);

// The test for a common slope of the groups (at least two): the common slope
// (event commonSlopeDidNotSettle when it does not settle), its statistic and
// p-value; when p > the critical p, the slopes are common and the test gives
// the interval at the settings' confidence and the test of the hypothesised
// slope, when there is one.
CommonSlopeTest testCommonSlope(const Estimator& estimator, ErrorVariances errors, const GroupMap& groups,
                                const AnalysisSettings& settings, AnalysisEvents& events, RandomStream& random);

} // namespace korvel
