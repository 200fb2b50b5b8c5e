#include "stats/slope_comparisons.h"

#include "stats/common_slope.h"

namespace korvel {

PairTable<SlopePair> compareSlopes(const Estimator& estimator, ErrorVariances errors, const GroupMap& groups,
                                   const AnalysisSettings& settings, AnalysisEvents& events, RandomStream& random)
{
    PairTable<SlopePair> table(groupNames(groups));
    int count = 0, i = 0;
    for (auto gi = groups.begin(); gi != groups.end(); ++gi, ++i) {
        int j = 0;
        for (auto gj = groups.begin(); gj != gi; ++gj, ++j) {
            const GroupMap pair{*gi, *gj};
            const CommonSlope fit = fitCommonSlope(estimator, pair);
            if (!fit.settled())
                events.commonSlopeDidNotSettle(groupNames(pair), fit.last, fit.next);
            const bool settled = countsAsSettled(fit, settings.convergenceLimit());
            if (!settled)
                events.pairSlopeDidNotConverge(gi->first, gj->first);
            SlopePair result;
            if (settled)
                result.slope = fit.slope;
            result.statistic = commonSlopeStatistic(estimator, pair, fit.slope);
            result.p = commonSlopePvalue(estimator, errors, pair, fit.slope, settings, events, random);
            table.set(i, j, result);
            events.pairCompared(++count);
        }
    }
    return table;
}

} // namespace korvel
