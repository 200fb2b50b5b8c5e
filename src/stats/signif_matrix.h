// The sorted pair-wise significance matrix that closes both post-hoc reports.
#pragma once

#include <functional>
#include <list>
#include <ostream>
#include <string>

#include "SMAstats.h"

// Inserts entry before the first entry whose value is >= its own (at the end
// when there is none): ascending by value, and among equal values the entry
// inserted later stands first. A comparison with NaN is false, so a NaN
// entry goes to the end and no entry stops before one.
void insertSorted(std::list<PH_data>& sorted, const PH_data& entry);

// Builds the sorted list from the groups in map order, value(group) giving
// each entry's value.
std::list<PH_data> sortedGroups(const GroupMap& grps, const std::function<double(const summary_stats&)>& value);

// Mark of a pair in the matrix: " " when p < crit_p (the groups differ), "x"
// when not, "?" when p is undefined (NaN).
const char* significanceMark(double p, double crit_p);

// Code character of position k of the sorted list: '1' + k.
char groupCode(int k);

// Writes the matrix: the legend, a header with the codes, then one row per
// entry with "0" on the diagonal, " " where the pair's p < crit_p and "x"
// otherwise ("?" when undefined). pairP(i, j) gives the p-value of the groups with grp_index i and
// j. Relies on the report's fixed notation for the legend's crit_p.
void writeSignificanceMatrix(std::ostream& out, double crit_p, const std::string& valueLabel,
                             const std::list<PH_data>& sorted, int nameWidth,
                             const std::function<double(int, int)>& pairP);
