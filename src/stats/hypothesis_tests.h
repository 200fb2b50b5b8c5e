// Tests of one group's line against a hypothesised slope and intercept.
#pragma once

#include "stats/estimators.h"
#include "stats/group.h"

namespace korvel {

struct TestResult {
    double stat = 0; // F for the slope, T (with its sign) for the intercept
    double p = 0;
};

// Slope = b0: F = d r^2 / (1 - r^2), r the correlation of residual- and
// fitted-axis scores at b0 (from their moments alone) and d the line's degrees
// of freedom; p from F(1, d). For OLS, F is the square of lm's t statistic of
// the slope b0.
TestResult slopeTest(const Estimator& estimator, const Group& g, double b0);

// Intercept = a0: T = (interc - a0) / sqrt(varInterc), two-sided t(n - 2),
// n the group's effective size of its location.
TestResult interceptTest(const Group& g, double a0);

} // namespace korvel
