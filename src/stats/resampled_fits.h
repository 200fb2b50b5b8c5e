// Refitting the groups of one resample: every group's points rebuilt from its
// fitted-axis scores, its intercept and its share of the shuffled pool.
#pragma once

#include <optional>
#include <vector>

#include "stats/estimators.h"
#include "stats/group.h"
#include "stats/robust_moments.h"

namespace korvel {

// What every resample is rebuilt from, at the common slope b: each group's
// fitted-axis scores and intercept, in map order, and the pooled residuals
// (residual-axis score less intercept) of all groups, in the same order until
// they are shuffled.
struct ResamplingPool {
    struct Part {
        std::vector<double> fitted;
        double interc = 0;
        std::optional<RobustStart> robustStart; // with robust moments: set by the first refit, where the others begin
    };
    double b = 0;
    std::vector<Part> parts;
    std::vector<double> residuals;
};

ResamplingPool resamplingPool(const Estimator& estimator, const GroupMap& groups, double b);

// Fits every group of the copy again (as fitLines) to its points rebuilt from
// the pool: the group in map order k from part k and its share of the
// residuals, with one running index over all groups. Each method gives back a
// point as it was when the residual is its own. The copy's X and Y hold no
// meaning afterwards. With robust moments the first refit of each group
// stores where its later ones begin.
void refitResampled(const Estimator& estimator, ErrorVariances errors, ResamplingPool& pool, GroupMap& copy);

} // namespace korvel
