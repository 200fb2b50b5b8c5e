// Pieces of the individual line fits that are useful on their own.
#pragma once

#include <utility>

#include "SMAstats.h"

// p-value of the test of no correlation, always by the least-squares line
// through the group's means: F = SSR / (SSE / (n - 2)), upper tail F(1, n - 2).
double correlationPvalue(const summary_stats& g);

// Confidence limits of a fitted group's slope, alpha = 1 - confidence, df the
// slope's degrees of freedom. SMA limits come out in order for negative
// slopes too; MA limits are not reordered.
std::pair<double, double> slopeLimits(int method, const summary_stats& g, double alpha, double df);

// Decimals asked for by a value: the larger of current and
// trunc(4 - log10|value|). Zero and non-finite values leave current as it is.
int printDecimals(int current, double value);
