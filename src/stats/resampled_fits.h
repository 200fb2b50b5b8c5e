// Refitting the groups of one resample: every group's points rebuilt from its
// fitted-axis scores, its intercept and its share of the shuffled pool.
#pragma once

#include <vector>

#include "stats/estimators.h"
#include "stats/group.h"

// Fits every group of the copy again (as fitLines without axes) to its points
// rebuilt at slope b; each group takes its share of R in map order, with one
// running index over all groups. Each method gives back a point as it was when
// R holds its own residual. The copy's X and Y hold no meaning afterwards.
void refitResampled(const Estimator& estimator, ErrorVariances errors, GroupMap& copy, const std::vector<double>& R,
                    double b);
