// Wald test among the group means of one axis score at the common slope.
#pragma once

#include <vector>

#include "korvel/settings.h"
#include "stats/estimators.h"
#include "stats/group.h"
#include "stats/lines_with_common_slope.h"

namespace korvel {

struct WaldResult {
    int k = 0;       // degrees of freedom, groups - 1
    double W = 0;    // statistic (NaN when a matrix cannot be inverted or a group has <= 2 points)
    double p = 0;    // upper tail of chi-squared with k degrees of freedom
    bool hasAcom = false;
    double Acom = 0; // common value of the means, only when p > crit_p
};

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
    int n;
};

// The groups' terms in map order, from their lines at the common slope.
std::vector<WaldGroup> waldGroups(const Estimator& estimator, const GroupMap& groups, const LinesAtCommonSlope& lines,
                                  ScoreAxis axis, ErrorVariances errors);

// The test among the groups (at least two) of the terms.
WaldResult waldTest(const std::vector<WaldGroup>& groups, double criticalP);

// The test among all groups at their lines with the common slope.
WaldResult waldTest(const Estimator& estimator, const GroupMap& groups, const LinesAtCommonSlope& lines,
                    ScoreAxis axis, ErrorVariances errors, double criticalP);

} // namespace korvel
