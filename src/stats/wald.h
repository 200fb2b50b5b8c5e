// Wald test among the group means of one axis score at the common slope.
#pragma once

#include <vector>

#include "korvel/settings.h"
#include "stats/estimators.h"
#include "korvel/results.h"

namespace korvel {

// One group's mean of the tested score at the common slope B, the score's
// variance less the measurement errors, and the derivative of the mean with
// respect to the slope.
struct AxisScore {
    double mean, variance, slopeDerivative;
};

// What the test takes of one group: its axis score, its slope variance at the
// common slope, and its size.
struct WaldGroup {
    AxisScore score;
    double varSlope;
    double n; // the group's effective size for its means
};

// The groups' terms in name order, from their lines with the common slope.
std::vector<WaldGroup> waldGroups(const Estimator& estimator, const LinesWithCommonSlope& lines, ScoreAxis axis);

// The test among the groups (at least two) of the terms: k = groups - 1
// degrees of freedom, the statistic W and its p-value (NaN when a matrix
// cannot be inverted or a group has 2 points or fewer), and the means'
// common value when p > the critical p. No pairs.
WaldTest waldTest(const std::vector<WaldGroup>& groups, double criticalP);

// The test among all groups at their lines with the common slope.
WaldTest waldTest(const Estimator& estimator, const LinesWithCommonSlope& lines, ScoreAxis axis, double criticalP);

} // namespace korvel
