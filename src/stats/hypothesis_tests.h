// Tests of one group's line against a hypothesised slope and intercept.
#pragma once

#include "stats/estimators.h"
#include "stats/group.h"

namespace korvel {

struct TestResult {
    double stat = 0; // F for the slope, T (with its sign) for the intercept
    double p = 0;
};

// Slope = b0: F = (n - 2) r^2 / (1 - r^2), r the correlation of residual- and
// fitted-axis scores at b0; p from F(1, d), d the line's degrees of freedom.
TestResult slopeTest(const Estimator& estimator, const Group& g, double b0);

// Intercept = a0: T = (interc - a0) / sqrt(varInterc), two-sided t(n - 2).
TestResult interceptTest(const Group& g, double a0);

} // namespace korvel
