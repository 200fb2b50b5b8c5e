#include "report/analysis_plot.h"

#include <cstdio>

namespace {
// "SMA lines of Hwt on Bwt by Sex", with the transformation's prefix when asked.
std::string linesOf(const AnalysisSettings& settings, const LoadedData& data, const std::string& prefix)
{
    std::string text = std::string(methodName(settings.method)) + " lines of " + prefix + data.columns[YColumn][0] +
                       " on " + prefix + data.columns[XColumn][0];
    if (data.chosen(GroupColumn))
        text += " by " + data.columns[GroupColumn][0];
    return text;
}

AxisScale scaleOf(Transform transform)
{
    return transform == Transform::Log10 ? AxisScale::Log10 : transform == Transform::Ln ? AxisScale::Ln : AxisScale::Linear;
}

std::string axisTitle(const std::string& name, Transform transform)
{
    return transform == Transform::Log10 ? name + " (log10 scale)" : transform == Transform::Ln ? name + " (ln scale)" : name;
}

// The fitted-axis score as the method defines it.
const char* fittedScore(Method method)
{
    return method == Method::OLS ? "F = X" : method == Method::SMA ? "F = Y + bX" : "F = bY + X";
}
} // namespace

PlotData analysisPlot(const GroupMap& groups, std::optional<double> commonSlope, const AnalysisSettings& settings,
                      const LoadedData& data)
{
    PlotData plot;
    plot.title = linesOf(settings, data, "") + (settings.intercept ? "" : ", through the origin");
    plot.xLabel = axisTitle(data.columns[XColumn][0], settings.transform);
    plot.yLabel = axisTitle(data.columns[YColumn][0], settings.transform);
    plot.commonSlope = commonSlope;
    plot.hypothesisSlope = settings.slopeH0;
    plot.scale = scaleOf(settings.transform);
    plot.throughOrigin = !settings.intercept;
    plot.grouped = data.chosen(GroupColumn);
    for (const auto& [name, g] : groups)
        plot.groups.push_back({name, g.X, g.Y, g.slope, g.interc, g.Xmean, g.Ymean});
    return plot;
}

ResidualPlotData residualPlot(const GroupMap& groups, std::optional<double> commonSlope,
                              const AnalysisSettings& settings, const LoadedData& data)
{
    ResidualPlotData plot;
    char slope[64] = "b each group's slope";
    if (commonSlope)
        std::snprintf(slope, sizeof slope, "b the common slope %.4g", *commonSlope);
    plot.title = "Residuals of " + linesOf(settings, data, transformPrefix(settings.transform)) + ", " + slope;
    plot.fittedLabel = std::string("fitted-axis score ") + fittedScore(settings.method);
    plot.residualLabel = "residual-axis score R = Y \u2212 bX";
    plot.grouped = data.chosen(GroupColumn);
    for (const auto& [name, g] : groups)
        plot.groups.push_back({name, g.fittedAxis, g.residAxis});
    return plot;
}
