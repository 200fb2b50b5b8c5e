// The lines of all groups with the common slope: each through its group's
// means, their axis scores, and where they pass the grand means.
#pragma once

#include "korvel/results.h"
#include "stats/estimators.h"
#include "stats/group.h"

namespace korvel {

// The lines of the groups with the common slope B, in name order: each
// line's intercept is the residual score of its group's means (through the
// origin too), its points' scores and their means, its slope variance at B;
// the grand means over every point (of X, Y and the scores) and where each
// line meets them: its Y at the grand mean X, a + B X, and its X at the grand
// mean Y, (Y - a) / B. With robust moments the means of the scores are the
// scores of the robust means, and their variances come from the robust
// (co)variances.
LinesWithCommonSlope linesAtCommonSlope(const Estimator& estimator, const GroupMap& groups, double B,
                                        ErrorVariances errors);

// The line's mean score on the axis: residual (elevation) or fitted (shift).
double scoreMean(const LineWithCommonSlope& line, ScoreAxis axis);

} // namespace korvel
