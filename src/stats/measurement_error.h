// Groups that the measurement-error variances leave without a line.
#pragma once

#include <string>
#include <vector>

#include "stats/estimators.h"
#include "stats/group.h"

namespace korvel {

// True when the corrected variance of X or of Y (less the error variance) is
// not above 0, or the corrected squared correlation SXY^2 / (SXX SYY) is above
// 1: the error variances claim more scatter than the group shows. The
// variances are the robust ones when the estimator is robust.
bool errorTooLarge(const Estimator& estimator, const Group& g, ErrorVariances errors);

// Removes those groups and returns their names in map order.
std::vector<std::string> removeGroupsBeyondError(const Estimator& estimator, GroupMap& groups, ErrorVariances errors);

} // namespace korvel
