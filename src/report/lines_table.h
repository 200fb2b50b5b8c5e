// The table of individually fitted lines, and the column layout that the
// tables after it share.
#pragma once

#include <ostream>

#include "korvel/settings.h"
#include "report/text_columns.h"
#include "stats/estimators.h"
#include "stats/group.h"

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

// The layout of the fitted groups: decimals enough for about four significant
// digits of the smallest slope and intercept; nameWidth from the grouping.
LinesLayout linesLayout(const GroupMap& groups, int nameWidth);

// Writes the table with the tests against the hypothesised slope and
// intercept; leaves the report in fixed notation, left-adjusted.
void writeLinesTable(std::ostream& out, const LinesLayout& layout, const GroupMap& groups,
                     const AnalysisSettings& settings, const Estimator& estimator);

} // namespace korvel
