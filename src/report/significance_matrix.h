// The sorted pair-wise significance matrix that closes both post-hoc reports.
#pragma once

#include <functional>
#include <list>
#include <ostream>
#include <string>

#include "report/ranking.h"

namespace korvel {

// Mark of a pair: " " when p < crit_p (the groups differ), "x" when not, "?"
// when p is undefined (NaN).
const char* significanceMark(double p, double criticalP);

// Code character of position k of the ranking: '1' + k.
char groupCode(int k);

// Writes the matrix: the legend, a header with the codes, then one row per
// ranked group with "0" on the diagonal and each pair's mark. pairP(i, j)
// gives the p-value of the groups at map positions i and j. Relies on the
// report's fixed notation for the legend's critical p.
void writeSignificanceMatrix(std::ostream& out, double criticalP, const std::string& valueLabel,
                             const std::list<RankedGroup>& ranking, int nameWidth,
                             const std::function<double(int, int)>& pairP);

} // namespace korvel
