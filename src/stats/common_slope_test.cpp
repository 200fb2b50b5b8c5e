#include "stats/common_slope_test.h"

#include "stats/common_slope.h"
#include "stats/distributions.h"
#include "stats/resampling.h"

namespace korvel {

CommonSlopeResult testCommonSlope(const Estimator& estimator, ErrorVariances errors, const GroupMap& groups,
                                  const AnalysisSettings& settings, AnalysisEvents& events, RandomStream& random)
{
    CommonSlopeResult r;
    for (const auto& entry : groups)
        r.points += entry.second.n;
    r.groups = static_cast<int>(groups.size());
    const CommonSlope fit = fitCommonSlope(estimator, groups);
    if (!fit.settled())
        events.commonSlopeDidNotSettle(groupNames(groups), fit.last, fit.next);
    r.b = fit.slope;
    r.T = commonSlopeStatistic(estimator, groups, r.b);
    r.p = commonSlopePvalue(estimator, errors, groups, r.b, settings, events, random);
    r.common = r.p > settings.criticalP;
    if (r.common) {
        const auto limits = commonSlopeLimits(estimator, groups, settings.confidence, r.b);
        r.low = limits.first;
        r.upp = limits.second;
        if (settings.slopeH0) {
            r.T0 = hypothesisedSlopeStatistic(estimator, groups, r.b, *settings.slopeH0);
            r.p0 = chisqQ(r.T0, 1);
        }
    }
    return r;
}

} // namespace korvel
