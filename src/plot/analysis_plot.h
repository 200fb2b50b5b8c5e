// What the two figures of an analysis show.
#pragma once

#include <optional>

#include "data/loaded_data.h"
#include "korvel/settings.h"
#include "plot/plot.h"
#include "stats/group.h"

namespace korvel {

// The groups' points as analysed, their fitted lines and, when the lines with
// a common slope were compared, the lines of that slope through their means;
// the line of the hypothesised slope when there is one; axes named after the
// variables with the scale of their transformation, the method in the title.
PlotData analysisPlot(const GroupMap& groups, std::optional<double> commonSlope, const AnalysisSettings& settings,
                      const LoadedData& data);

// The groups' axis scores as the fit leaves them: at the common slope when the
// lines with it were compared, otherwise at each group's own slope.
ResidualPlotData residualPlot(const GroupMap& groups, std::optional<double> commonSlope,
                              const AnalysisSettings& settings, const LoadedData& data);

} // namespace korvel
