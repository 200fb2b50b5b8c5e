#include "report/analysis_plot.h"

PlotData analysisPlot(const GroupMap& groups, std::optional<double> commonSlope, const AnalysisSettings& settings,
                      const LoadedData& data)
{
    const std::string prefix = transformPrefix(settings.transform);
    const std::string& yName = data.y.name;
    const std::string& xName = data.x.name;
    PlotData plot;
    plot.title = std::string(methodName(settings.method)) + " lines of " + yName + " on " + xName;
    if (data.grouped)
        plot.title += " by " + data.grouping.name;
    plot.xLabel = prefix + xName;
    plot.yLabel = prefix + yName;
    plot.commonSlope = commonSlope;
    for (const auto& [name, g] : groups) {
        PlotGroup pg;
        pg.name = name;
        pg.x = g.X;
        pg.y = g.Y;
        pg.slope = g.slope;
        pg.intercept = g.interc;
        pg.xMean = g.Xmean;
        pg.yMean = g.Ymean;
        plot.groups.push_back(std::move(pg));
    }
    return plot;
}
