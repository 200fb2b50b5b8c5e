// The lines of all groups at the common slope: their axis scores, the grand
// means, and the pairwise Wald tests of elevation or shift.
#pragma once

#include "stats/estimators.h"
#include "stats/group.h"
#include "stats/pair_table.h"
#include "data/settings.h"

// Recomputes every group's axis scores, their means, the axis variances and
// the slope variance at the common slope B.
void applyCommonSlope(const Estimator& estimator, GroupMap& groups, double B);

// Means over all points of all groups.
struct GrandMeans {
    int N = 0;
    double X = 0, Y = 0, F = 0, R = 0;
};
GrandMeans grandMeans(const GroupMap& groups);

// The group's mean score on the axis: residual (elevation) or fitted (shift).
double scoreMean(const Group& g, ScoreAxis axis);

struct ShiftPair {
    double difference = 0, df = 1, stat = 0, p = 0;
};

// Standard error of a pair's difference from its one-degree-of-freedom Wald
// statistic: |difference| / sqrt(stat), NaN when stat is 0.
double standardError(const ShiftPair& pair);

// Every pair of groups compared by the Wald test of the two groups alone.
PairTable<ShiftPair> compareShifts(const Estimator& estimator, const GroupMap& groups, ScoreAxis axis, double B,
                                   ErrorVariances errors, double criticalP);
