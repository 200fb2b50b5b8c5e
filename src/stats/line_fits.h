// Fitting one line to each group, with its confidence limits.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "stats/estimators.h"
#include "stats/group.h"
#include "stats/robust_moments.h"

namespace korvel {

// Removes the groups whose line leaves no residual degree of freedom (two
// points with an intercept, one through the origin): no limit or test can be
// formed for them. Returns their names in map order.
std::vector<std::string> removeGroupsWithoutResidualFreedom(const Estimator& estimator, GroupMap& groups);

// Fits every group: means, (co)variances less the error variances (robust
// ones, with the group's effective sizes, when the estimator is robust), R2,
// slope, intercept, axis variances and slope variance.
void fitLines(const Estimator& estimator, ErrorVariances errors, GroupMap& groups);

// The rest of a group's robust fit once its robust moments are estimated (as
// fitLines, without marking the downweighted points): a resample's fit.
void fitRobustMoments(const Estimator& estimator, ErrorVariances errors, Group& g, const RobustMoments& m);

// The rest of one group's fit once its means and (co)variances are stored.
void fitFromMoments(const Estimator& estimator, ErrorVariances errors, Group& g);

// The correlation p-value, the confidence limits of slope and intercept and
// the intercept's variance of every fitted group, at confidence percent.
void fitLimits(const Estimator& estimator, GroupMap& groups, int confidence, ErrorVariances errors);

// The squared correlation of the points as analysed, from their moments
// before any measurement-error correction: SXY^2 / (SXX SYY), centred with an
// intercept and about the origin through it; the robust moments' (the error
// variances added back) with robust moments.
double uncorrectedR2(const Estimator& estimator, const Group& g, ErrorVariances errors);

// p-value of the test of no correlation: r^2 the uncorrected one, F = d r^2 /
// (1 - r^2) with d the line's degrees of freedom, upper tail F(1, d).
double correlationPvalue(const Estimator& estimator, const Group& g, ErrorVariances errors);

// Confidence limits of a fitted group's slope, alpha = 1 - confidence, df the
// slope's degrees of freedom. SMA limits come out in order for negative
// slopes too; MA limits are not reordered (the lower above the upper when the
// interval runs through the vertical), and are -inf and inf when the test of
// a slope rejects none.
std::pair<double, double> slopeLimits(Method method, const Group& g, double alpha, double df);

} // namespace korvel
