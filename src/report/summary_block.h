// The data-summary block that opens each analysis in the report: settings,
// data file, variables, filters and what the grouping left out.
#pragma once

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "korvel/data.h"
#include "korvel/settings.h"

namespace korvel {

// From the method line to the filters.
void writeSummaryHead(std::ostream& out, const AnalysisSettings& settings, const Data& data);

// "Filtered or empty data points:" and the head of the removed-groups line.
void writeLeftOut(std::ostream& out, int rejected, int minGroupSize);

// One removed group's name on the removed-groups line.
void writeRemovedName(std::ostream& out, const std::string& name);

// The groups removed because their Y or X does not vary, when any.
void writeRemovedInvariant(std::ostream& out, const std::vector<std::string>& names);

// The groups removed because their line leaves no residual degree of freedom,
// when any.
void writeRemovedNoFreedom(std::ostream& out, const std::vector<std::string>& names);

// "No. groups:" and "No. datapoints:".
void writeCounts(std::ostream& out, std::size_t groups, long long points);

// "Measurement Error: " with the two variances or "Not included".
void writeMeasurementError(std::ostream& out, const AnalysisSettings& settings, const Data& data,
                           ErrorVariances errors);

// The groups removed because the error variances leave them no line, when any.
void writeRemovedForError(std::ostream& out, const std::vector<std::string>& names);

} // namespace korvel
