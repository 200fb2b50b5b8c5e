#include "report/analysis_plot.h"

PlotData analysisPlot(const GroupMap& groups, std::optional<double> commonSlope, const AnalysisSettings& settings,
                      const LoadedData& data)
{
    const std::string prefix = transformPrefix(settings.transform);
    const std::string& yName = data.columns[YColumn][0];
    const std::string& xName = data.columns[XColumn][0];
    PlotData plot;
    plot.title = std::string(methodName(settings.method)) + " lines of " + yName + " on " + xName;
    if (data.chosen(GroupColumn))
        plot.title += " by " + data.columns[GroupColumn][0];
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
