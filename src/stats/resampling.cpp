#include "stats/resampling.h"

#include <algorithm>
#include <cmath>
#include <limits>

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
constexpr long long attemptsPerResample = 100;
} // namespace

double resamplingPvalue(const Estimator& estimator, ErrorVariances errors, const GroupMap& groups, double b,
                        double T0, int iterations, const ResampledStatistic& statisticOf, AnalysisEvents& events,
                        RandomStream& random)
{
    // No resampled statistic can exceed an undefined one; counting would give
    // the smallest p-value for data that carry no evidence at all.
    if (std::isnan(T0))
        return std::numeric_limits<double>::quiet_NaN();

    const int N = resampleCount(iterations);
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
        const std::optional<double> T = statisticOf(copy);
        if (!T)
            continue;
        ++counted;
        if (*T > T0)
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
