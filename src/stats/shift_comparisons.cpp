#include "stats/shift_comparisons.h"

#include <cmath>
#include <limits>

#include "stats/lines_with_common_slope.h"
#include "stats/wald.h"

namespace korvel {

namespace {
double standardError(double difference, double statistic)
{
    if (statistic == 0)
        return std::numeric_limits<double>::quiet_NaN();
    return std::fabs(difference) / std::sqrt(statistic);
}
} // namespace

PairTable<ShiftPair> compareShifts(const Estimator& estimator, const LinesWithCommonSlope& lines, ScoreAxis axis,
                                   double criticalP)
{
    const std::vector<WaldGroup> terms = waldGroups(estimator, lines, axis);
    std::vector<std::string> names;
    for (const LineWithCommonSlope& line : lines.groups)
        names.push_back(line.group);
    PairTable<ShiftPair> table(names);
    for (int i = 0; i < table.groups(); ++i)
        for (int j = 0; j < i; ++j) {
            const auto at = [&](int k) -> const LineWithCommonSlope& { return lines.groups[static_cast<std::size_t>(k)]; };
            ShiftPair pair;
            pair.difference = scoreMean(at(i), axis) - scoreMean(at(j), axis);
            // The two groups in name order, as a test of those two alone has them.
            const WaldTest test =
                waldTest({terms[static_cast<std::size_t>(j)], terms[static_cast<std::size_t>(i)]}, criticalP);
            pair.statistic = test.statistic;
            pair.p = test.p;
            pair.standardError = standardError(pair.difference, pair.statistic);
            table.set(i, j, pair);
        }
    return table;
}

} // namespace korvel
