// What the two figures of an analysis show.
#pragma once

#include <optional>

#include <vector>

#include "korvel/analysis.h"
#include "plot/plot.h"

namespace korvel {

// The groups' points as analysed, their fitted lines and, when the lines with
// a common slope were compared, the lines of that slope through their means;
// the line of the hypothesised slope when there is one; axes named after the
// variables with the scale of their transformation, the method in the title.
PlotData analysisPlot(const Analysis& analysis);

// The common slope of the lines that were compared with it, if they were.
std::optional<double> plottedCommonSlope(const Analysis& analysis);

// The groups' axis scores, scores (in the order of the fit's lines): at the
// common slope when the lines with it were compared (plottedCommonSlope),
// otherwise at each group's own slope.
ResidualPlotData residualPlot(const Analysis& analysis, std::vector<GroupScores> scores);

} // namespace korvel
