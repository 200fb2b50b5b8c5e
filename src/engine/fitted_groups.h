// What a fit holds for the calls that follow it: the groups with their points
// and moments, and the estimator of its settings.
#pragma once

#include "korvel/results.h"
#include "stats/estimators.h"
#include "stats/group.h"

namespace korvel {

struct FittedGroups {
    GroupMap groups;
};

// The fit's groups, by name.
const GroupMap& groupsOf(const Fit& fit);

// The estimator of the settings' method and intercept.
Estimator estimatorOf(const AnalysisSettings& settings);

} // namespace korvel
