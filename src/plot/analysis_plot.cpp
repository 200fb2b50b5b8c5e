#include "plot/analysis_plot.h"

#include <cstdio>

#include "stats/axis_scores.h"

namespace korvel {

namespace {
// "SMA lines of Hwt on Bwt by Sex", with the transformation's prefix when asked.
std::string linesOf(const AnalysisSettings& settings, const LoadedData& data, const std::string& prefix)
{
    std::string text =
        std::string(namesOf(methodNames, settings.method).report) + " lines of " + prefix + data.y.name + " on " + prefix + data.x.name;
    if (data.grouped)
        text += " by " + data.grouping.name;
    return text;
}

AxisScale scaleOf(Transform transform)
{
    return transform == Transform::Log10 ? AxisScale::Log10 : transform == Transform::Ln ? AxisScale::Ln : AxisScale::Linear;
}

// "Bwt", or "Bwt (log10 scale)" and "Bwt (ln scale)" under a logarithm.
std::string axisTitle(const std::string& name, Transform transform)
{
    return isLogTransform(transform) ? name + " (" + namesOf(transformNames, transform).option + " scale)" : name;
}
} // namespace

PlotData analysisPlot(const GroupMap& groups, std::optional<double> commonSlope, const AnalysisSettings& settings,
                      const LoadedData& data)
{
    PlotData plot;
    plot.title = linesOf(settings, data, "") + (settings.intercept ? "" : ", through the origin");
    plot.xLabel = axisTitle(data.x.name, settings.transform);
    plot.yLabel = axisTitle(data.y.name, settings.transform);
    plot.commonSlope = commonSlope;
    plot.hypothesisSlope = settings.slopeH0;
    plot.scale = scaleOf(settings.transform);
    plot.throughOrigin = !settings.intercept;
    plot.grouped = data.grouped;
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
    plot.title = "Residuals of " + linesOf(settings, data, namesOf(transformNames, settings.transform).report) + ", " + slope;
    const Estimator estimator(settings.method, settings.intercept);
    plot.fittedLabel = std::string("fitted-axis score F = ") + estimator.fittedScoreText();
    plot.residualLabel = std::string("residual-axis score R = ") + Estimator::residualScoreText();
    plot.grouped = data.grouped;
    for (const auto& [name, g] : groups) {
        AxisScores scores = scoresAt(estimator, g, commonSlope.value_or(g.slope));
        plot.groups.push_back({name, std::move(scores.fitted), std::move(scores.residual)});
    }
    return plot;
}

} // namespace korvel
