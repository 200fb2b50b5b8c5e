// The tables of pairwise results after the slope comparisons and after a
// significant elevation or shift test, each followed by the significance matrix.
#pragma once

#include <ostream>

#include <vector>

#include "korvel/results.h"
#include "report/lines_table.h"

namespace korvel {

// The answer no to comparing the slopes.
void writeSlopeComparisonsNotRun(std::ostream& report, std::ostream& console);

// The title in the report and, on the console, the number of pairs and the
// head of the count that follows them.
void writeSlopeComparisonsStart(std::ostream& report, std::ostream& console, int groups);

// "Common slope, test stat, p-value", "p-values only" and the matrix of the
// groups ranked by their own slopes; p-values with pDigits decimals. Every
// p-value is the pair's adjusted one when they are adjusted, and then a line
// first says for how many comparisons and how.
void writeSlopeComparisons(std::ostream& out, const std::vector<GroupLine>& lines, const PairTable<SlopePair>& table,
                           const LinesLayout& layout, int pDigits, double criticalP, PAdjustment adjustment);

// "Difference, standard error, df, p-value", "p-values only" and the matrix of
// the groups ranked by their mean score on the axis at the common slope; the
// p-values as for the slopes.
void writeShiftComparisons(std::ostream& out, const LinesWithCommonSlope& lines, const PairTable<ShiftPair>& table,
                           ScoreAxis axis, double criticalP, PAdjustment adjustment);

} // namespace korvel
