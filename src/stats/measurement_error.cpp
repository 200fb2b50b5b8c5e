#include "stats/measurement_error.h"

#include "stats/robust_moments.h"

namespace korvel {

bool errorTooLarge(const Estimator& estimator, const Group& g, ErrorVariances errors)
{
    const bool centred = estimator.hasIntercept;
    double sxx = 0, syy = 0, sxy = 0;
    if (estimator.robust) {
        const RobustMoments m = robustMoments(g.X, g.Y, centred);
        sxx = m.sxx - errors.x;
        syy = m.syy - errors.y;
        sxy = m.sxy;
    } else {
        sxx = varianceOf(g.X, centred) - errors.x;
        syy = varianceOf(g.Y, centred) - errors.y;
        sxy = covarianceOf(g.X, g.Y, centred);
    }
    return !(sxx > 0) || !(syy > 0) || sxy * sxy / (sxx * syy) > 1;
}

std::vector<std::string> removeGroupsBeyondError(const Estimator& estimator, GroupMap& groups, ErrorVariances errors)
{
    return removeGroupsWhere(groups, [&](const Group& g) { return errorTooLarge(estimator, g, errors); });
}

} // namespace korvel
