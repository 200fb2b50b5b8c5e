// Wald test among the group means of one axis score at the common slope.
#pragma once

#include "data/settings.h"
#include "stats/estimators.h"
#include "stats/group.h"

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
AxisScore axisScore(const Estimator& estimator, const Group& g, ScoreAxis axis, double B, ErrorVariances errors);

// The groups' axis scores, means and slope variances must be those at B
// (applyCommonSlope). At least two groups.
WaldResult waldTest(const Estimator& estimator, const GroupMap& groups, ScoreAxis axis, double B,
                    ErrorVariances errors, double criticalP);
