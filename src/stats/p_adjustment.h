// P-values of a family of comparisons adjusted for their number, so that the
// chance of any false "different" in the family stays at the critical p.
#pragma once

#include <vector>

#include "data/settings.h"

// The p-values adjusted for K comparisons, K the number of defined (not NaN)
// p-values, in the given order; NaN stays NaN.
// - Bonferroni: min(1, K p).
// - Sidak: 1 - (1 - p)^K.
// - Holm: in ascending order of p, the i-th (from 1) is min(1, (K - i + 1) p)
//   and never below the one before it.
// - None: the p-values as they are.
std::vector<double> adjustedPvalues(const std::vector<double>& p, PAdjustment method);

// The number of comparisons that adjustedPvalues adjusts for.
int comparisonCount(const std::vector<double>& p);
