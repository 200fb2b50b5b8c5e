// The table of individually fitted lines, and the column layout that the
// tables after it share.
#pragma once

#include <ostream>

#include <vector>

#include "korvel/results.h"
#include "report/text_columns.h"

namespace korvel {

struct LinesLayout {
    int groupWidth = columnWidth;  // the group-name column
    int slopeDecimals = 0;         // decimals of slopes
    int intercDecimals = 0;        // decimals of intercepts
    int slopeWidth = columnWidth;  // slope columns: decimals + 4, at least a column
    int intercWidth = columnWidth; // intercept columns, likewise
};

// Decimals asked for by a value: the larger of current and
// trunc(4 - log10|value|). Zero and non-finite values leave current as it is.
int printDecimals(int current, double value);

// The width of the group-name column: the longest group name the grouping met
// (the names of the lines and of the groups removed), at least a column, and
// one more when that is a multiple of 6.
int groupColumnWidth(const std::vector<GroupLine>& lines, const std::vector<RemovedGroup>& removed);

// The layout of the fitted lines: decimals enough for about four significant
// digits of the smallest slope and intercept, and the group column's width.
LinesLayout linesLayout(const std::vector<GroupLine>& lines, int groupWidth);

// Writes the table with the tests against the hypothesised slope and
// intercept; leaves the report in fixed notation, left-adjusted.
void writeLinesTable(std::ostream& out, const LinesLayout& layout, const std::vector<GroupLine>& lines,
                     const AnalysisSettings& settings);

} // namespace korvel
