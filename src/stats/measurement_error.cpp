#include "stats/measurement_error.h"

namespace korvel {

bool errorTooLarge(const Group& g, bool hasIntercept, ErrorVariances errors)
{
    const double sxx = varianceOf(g.X, hasIntercept) - errors.x;
    const double syy = varianceOf(g.Y, hasIntercept) - errors.y;
    const double sxy = covarianceOf(g.X, g.Y, hasIntercept);
    return !(sxx > 0) || !(syy > 0) || sxy * sxy / (sxx * syy) > 1;
}

std::vector<std::string> removeGroupsBeyondError(GroupMap& groups, bool hasIntercept, ErrorVariances errors)
{
    return removeGroupsWhere(groups, [&](const Group& g) { return errorTooLarge(g, hasIntercept, errors); });
}

} // namespace korvel
