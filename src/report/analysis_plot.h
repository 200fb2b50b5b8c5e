// What the plot of an analysis shows.
#pragma once

#include <optional>

#include "data/loaded_data.h"
#include "data/settings.h"
#include "report/plot.h"
#include "stats/group.h"

// The groups' points as analysed, their fitted lines and, when the lines with
// a common slope were compared, the lines of that slope through their means;
// axes named after the variables with their transformation, the method in
// the title.
PlotData analysisPlot(const GroupMap& groups, std::optional<double> commonSlope, const AnalysisSettings& settings,
                      const LoadedData& data);
