#include "stats/resampling.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "stats/common_slope.h"
#include "stats/distributions.h"
#include "stats/resampled_fits.h"

namespace korvel {

int resampleCount(int iterations)
{
    return iterations < 1 ? 1 : iterations;
}

void shufflePool(std::vector<double>& R, RandomStream& random)
{
    for (std::size_t i = 1; i < R.size(); ++i) {
        const std::size_t j = static_cast<std::size_t>(random.next()) % (i + 1);
        std::swap(R[i], R[j]);
    }
}

namespace {
// Resampling gives up after this many attempts per resample asked for.
const long long attemptsPerResample = 100;
} // namespace

double commonSlopePvalue(const Estimator& estimator, ErrorVariances errors, const GroupMap& groups, double b,
                         const AnalysisSettings& settings, AnalysisEvents& events, RandomStream& random)
{
    const double T0 = commonSlopeStatistic(estimator, groups, b);
    if (settings.pvalueFrom == PValueFrom::ChiSquared)
        return chisqQ(T0, static_cast<double>(groups.size()) - 1);
    // No resampled statistic can exceed an undefined one; counting would give
    // the smallest p-value for data that carry no evidence at all.
    if (std::isnan(T0))
        return std::numeric_limits<double>::quiet_NaN();

    const int N = resampleCount(settings.iterations);
    ResamplingPool pool = resamplingPool(estimator, groups, b);
    GroupMap copy = groups;
    long long count = 1;
    long long counted = 0;
    const long long wanted = N - 1;
    const long long maxAttempts = attemptsPerResample * N;
    Progress& progress = events.progress();
    progress.begin(Stage::Resampling, wanted, static_cast<double>(pool.residuals.size()) * static_cast<double>(wanted));
    const long long reportEvery = std::max(1LL, wanted / 100);
    for (long long attempts = 0; counted < wanted && attempts < maxAttempts; ++attempts) {
        shufflePool(pool.residuals, random);
        refitResampled(estimator, errors, pool, copy);
        const CommonSlope resampled = fitCommonSlope(estimator, copy);
        if (!resampled.settled())
            events.slopesDidNotConverge(resampled.last, resampled.next);
        if (!countsAsSettled(resampled, settings.convergenceLimit()))
            continue;
        ++counted;
        if (commonSlopeStatistic(estimator, copy, resampled.slope) > T0)
            ++count;
        if (counted % reportEvery == 0)
            progress.advance(counted);
    }
    progress.end();
    if (counted < wanted) {
        events.resamplingStopped(counted, wanted);
        return static_cast<double>(count) / static_cast<double>(1 + counted);
    }
    return static_cast<double>(count) / N;
}

} // namespace korvel
