// The p-value of a statistic of the groups by resampling the pooled
// residuals of all groups about their lines with the common slope.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "korvel/random_stream.h"
#include "korvel/settings.h"
#include "stats/estimators.h"
#include "korvel/events.h"
#include "stats/group.h"

namespace korvel {

// Resamples asked for: N, with N below 1 taken as 1.
int resampleCount(int iterations);

// Shuffles the pool in place: for i = 1 .. size - 1, j = random.next() %
// (i + 1), swap R[i] and R[j]. The stream is seeded only when the user asks
// for it, so resampling repeats itself from run to run.
void shufflePool(std::vector<double>& R, RandomStream& random);

// The statistic of one resample's groups, refitted; none when the resample
// does not count (its common slope did not settle).
using ResampledStatistic = std::function<std::optional<double>(const GroupMap& resample)>;

// The resampling p-value of the statistic T0 of the groups at their common
// slope b: (count of resampled statistics above T0, plus 1) / N from N - 1
// resamples, N the resample count of the iterations; NaN when T0 is. A
// resample that does not count is replaced; after 100 N attempts resampling
// stops (event resamplingStopped) with count / (1 + resamples counted). The
// resamples counted are told to the events' progress (stage Resampling) every
// 1 % of them.
double resamplingPvalue(const Estimator& estimator, ErrorVariances errors, const GroupMap& groups, double b,
                        double T0, int iterations, const ResampledStatistic& statisticOf, AnalysisEvents& events,
                        RandomStream& random);

} // namespace korvel
