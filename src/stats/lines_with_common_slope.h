// The lines of all groups at the common slope: their axis scores, the grand
// means, and the pairwise Wald tests of elevation or shift.
#pragma once

#include <map>
#include <string>

#include "korvel/settings.h"
#include "stats/axis_scores.h"
#include "stats/estimators.h"
#include "stats/group.h"
#include "stats/pair_table.h"

namespace korvel {

// One group's line at the common slope: through the group's means, with the
// intercept the residual score of the means (through the origin too), its
// points' scores and their means, and the group's axis variances and slope
// variance at that slope.
struct LineAtCommonSlope {
    double interc = 0;
    AxisScores scores;
    double residMean = 0, fittedMean = 0;
    double varFitted = 0, varResid = 0, varSlope = 0;
};

// Where a line with the common slope B passes: its Y at x, and its X at y.
inline double yOnLine(const LineAtCommonSlope& line, double B, double x)
{
    return line.interc + B * x;
}
inline double xOnLine(const LineAtCommonSlope& line, double B, double y)
{
    return (y - line.interc) / B;
}

// The lines of the groups at the common slope B, by group name.
struct LinesAtCommonSlope {
    double B = 0;
    std::map<std::string, LineAtCommonSlope> lines;
    const LineAtCommonSlope& of(const std::string& group) const { return lines.at(group); }
};

LinesAtCommonSlope linesAtCommonSlope(const Estimator& estimator, const GroupMap& groups, double B);

// Means over all points of all groups, the scores at the common slope.
struct GrandMeans {
    int N = 0;
    double X = 0, Y = 0, F = 0, R = 0;
};
GrandMeans grandMeans(const GroupMap& groups, const LinesAtCommonSlope& lines);

// The line's mean score on the axis: residual (elevation) or fitted (shift).
double scoreMean(const LineAtCommonSlope& line, ScoreAxis axis);

struct ShiftPair {
    double difference = 0; // the later group's mean score less the earlier one's (map order)
    double df = 1, stat = 0, p = 0;
    double adjustedP = 0; // p adjusted for the number of pairs (adjustPairs)
};

// Standard error of a pair's difference from its one-degree-of-freedom Wald
// statistic: |difference| / sqrt(stat), NaN when stat is 0.
double standardError(const ShiftPair& pair);

// Every pair of groups compared by the Wald test of the two groups alone.
PairTable<ShiftPair> compareShifts(const Estimator& estimator, const GroupMap& groups, const LinesAtCommonSlope& lines,
                                   ScoreAxis axis, ErrorVariances errors, double criticalP);

} // namespace korvel
