// The p-value of the common-slope statistic: from the chi-squared
// distribution, or by resampling the pooled residuals of all groups.
#pragma once

#include <vector>

#include "korvel/random_stream.h"
#include "korvel/settings.h"
#include "stats/estimators.h"
#include "stats/events.h"
#include "stats/group.h"

namespace korvel {

// Resamples asked for: N, with N below 1 taken as 1.
int resampleCount(int iterations);

// Shuffles the pool in place: for i = 1 .. size - 1, j = random.next() %
// (i + 1), swap R[i] and R[j]. The stream is seeded only when the user asks
// for it, so resampling repeats itself from run to run.
void shufflePool(std::vector<double>& R, RandomStream& random);

// p-value of the common-slope statistic of the groups at their common slope b,
// from where the settings say: chi-squared with groups - 1 degrees of
// freedom, or (count of resampled statistics above the observed one, plus 1)
// / N from N - 1 resamples, N the resample count of the settings' iterations.
// NaN when the statistic is. A resample whose common slope does not settle
// within the settings' convergence limit does not count; after 100 N attempts
// resampling stops (event resamplingStopped) with count / (1 + resamples
// counted). The resamples counted are told to the events' progress (stage
// Resampling) every 1 % of them.
double commonSlopePvalue(const Estimator& estimator, ErrorVariances errors, const GroupMap& groups, double b,
                         const AnalysisSettings& settings, AnalysisEvents& events, RandomStream& random);

} // namespace korvel
