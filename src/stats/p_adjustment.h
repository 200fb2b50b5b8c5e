// P-values of a family of comparisons adjusted for their number, so that the
// chance of any false "different" in the family stays at the critical p.
#pragma once

#include <vector>

#include "korvel/settings.h"
#include "korvel/results.h"

namespace korvel {

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

// The p-values of every pair of the table, (2nd, 1st), (3rd, 1st), (3rd, 2nd), ...
template <typename Pair>
std::vector<double> pairPvalues(const PairTable<Pair>& table)
{
    std::vector<double> p;
    for (int i = 0; i < table.groups(); ++i)
        for (int j = 0; j < i; ++j)
            p.push_back(table.get(i, j).p);
    return p;
}

// Sets every pair's adjustedP, its p adjusted within the table, when the
// method adjusts.
template <typename Pair>
void adjustPairs(PairTable<Pair>& table, PAdjustment method)
{
    if (method == PAdjustment::None)
        return;
    const std::vector<double> adjusted = adjustedPvalues(pairPvalues(table), method);
    std::size_t k = 0;
    for (int i = 0; i < table.groups(); ++i)
        for (int j = 0; j < i; ++j) {
            Pair pair = table.get(i, j);
            pair.adjustedP = adjusted[k++];
            table.set(i, j, pair);
        }
}

} // namespace korvel
