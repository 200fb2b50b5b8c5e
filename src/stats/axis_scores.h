// The scores of a group's points on the two axes at a slope.
#pragma once

#include "korvel/results.h"
#include "stats/estimators.h"
#include "stats/group.h"

namespace korvel {

// Residual score y - b x and fitted score of each point, parallel to the
// group's X and Y.
GroupScores scoresAt(const Estimator& estimator, const Group& g, double b);

} // namespace korvel
