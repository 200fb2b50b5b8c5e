// The block of the test for a common slope, in the report and on the console.
#pragma once

#include <optional>
#include <ostream>

#include "report/lines_table.h"
#include "korvel/results.h"

namespace korvel {

// Decimals of the common-slope p-values: ceil(log10(N)), N below 1 taken as 1.
int pvalueDigits(int iterations);

// The lines for a single group or none, which get no test.
void writeSingleGroup(std::ostream& report, std::ostream& console);
void writeNoGroups(std::ostream& report, std::ostream& console);

// The title, written before the test runs.
void writeCommonSlopeTitle(std::ostream& report, std::ostream& console);

// The table (slope, limits and the test against the hypothesised slope when
// the groups share the slope) and the statistic with its p-value; the console
// gets one decimal more.
void writeCommonSlopeResult(std::ostream& report, std::ostream& console, const CommonSlopeTest& test,
                            const LinesLayout& layout);

} // namespace korvel
