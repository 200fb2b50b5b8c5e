// The figure files of an analysis: their names, formats and writing.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include <vector>

#include "korvel/analysis.h"
#include "plot/plot.h"

namespace korvel {

// STEM-K.svg beside the report (STEM its name without the extension), or
// korvel-K.svg when the report goes to standard output (no name); K is the
// analysis's number in the run, from 1.
std::string plotFileName(const std::string& reportName, int number);

// The format a file name asks for by its extension, .svg, .pdf or .png in any
// case; none for any other.
std::optional<PlotFormat> plotFormatOf(const std::string& fileName);

// Write the plot, or the residual plot, in the format its name asks for (SVG
// for any other), with every marker a vector shape when vectorMarkers, and say
// "Plot written to NAME" (or "Residual plot written to NAME") on messages;
// FileNotOpened when the file cannot be written. The residual plot shows the
// groups' scores (residualPlot).
void writeAnalysisPlot(const std::string& fileName, const Analysis& analysis, bool vectorMarkers,
                       std::ostream& messages);
void writeAnalysisResidualPlot(const std::string& fileName, const Analysis& analysis, std::vector<GroupScores> scores,
                               bool vectorMarkers, std::ostream& messages);

} // namespace korvel
