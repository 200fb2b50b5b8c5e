// The report of the lines that share the common slope, the Wald test's result
// lines, and the file of transformed data.
#pragma once

#include <ostream>
#include <string>

#include "korvel/results.h"
#include "report/lines_table.h"

namespace korvel {

// The answer no to comparing the lines.
void writeLinesNotCompared(std::ostream& report, std::ostream& console);

// The title of the comparison of the lines.
void writeLinesTitle(std::ostream& report);

// The common slope with the grand means, and one row per group.
void writeCommonSlopeLines(std::ostream& out, const LinesWithCommonSlope& lines, const LinesLayout& layout);

// Elevation asked for lines through the origin, which have none.
void writeNoElevationThroughOrigin(std::ostream& console);

// What a test of the axis announces before its result; the Wald result lines
// then complete the announced line.
void writeShiftAnnouncement(std::ostream& report, std::ostream& console, ScoreAxis axis);

// The verdict of a test: significant (the console's line is completed by the
// question that follows) or not.
void writeShiftSignificant(std::ostream& report, std::ostream& console, ScoreAxis axis);
void writeShiftNotSignificant(std::ostream& report, std::ostream& console, ScoreAxis axis);

// The answer to the post-hoc question of a significant test; processing is
// shown on the console while the pairs are tested.
void writeShiftPairsRun(std::ostream& report, std::ostream& console, ScoreAxis axis);
void writeShiftPairsNotRun(std::ostream& report);

// " using WALD statistic", the header and the value line (df, statistic,
// p-value, the common value or "na"); the console gets 4 decimals, the report 3.
void writeWaldResult(std::ostream& report, std::ostream& console, const WaldTest& test);

// Every point's Y, X and its residual and fitted scores at the common slope,
// groups in name order and points in the data file's order, under a header
// line.
void writeTransformedData(std::ostream& file, const Fit& fit, const LinesWithCommonSlope& lines);

// The report's note that the scores were saved, and where.
void writeTransformedNote(std::ostream& out, Method method, double B, const std::string& fileName);

} // namespace korvel
