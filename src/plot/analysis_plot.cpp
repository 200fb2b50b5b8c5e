#include "plot/analysis_plot.h"

#include <cstdio>

#include "korvel/engine.h"

namespace korvel {

namespace {
// "SMA lines of Hwt on Bwt by Sex", with the transformation's prefix when asked.
std::string linesOf(const AnalysisSettings& settings, const Data& data, const std::string& prefix)
{
    std::string text = std::string(namesOf(methodNames, settings.method).report) + " lines of " + prefix +
                       data.yName() + " on " + prefix + data.xName();
    if (data.grouped())
        text += " by " + data.groupingName();
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

std::optional<double> plottedCommonSlope(const Analysis& analysis)
{
    return analysis.lines ? std::optional<double>(analysis.lines->slope) : std::nullopt;
}

PlotData analysisPlot(const Analysis& analysis)
{
    const AnalysisSettings& settings = analysis.fit.settings;
    const Data& data = analysis.data;
    PlotData plot;
    plot.title = linesOf(settings, data, "") + (settings.intercept ? "" : ", through the origin");
    plot.xLabel = axisTitle(data.xName(), settings.transform);
    plot.yLabel = axisTitle(data.yName(), settings.transform);
    plot.commonSlope = plottedCommonSlope(analysis);
    plot.hypothesisSlope = settings.slopeH0;
    plot.scale = scaleOf(settings.transform);
    plot.throughOrigin = !settings.intercept;
    plot.grouped = data.grouped();
    for (std::size_t k = 0; k < analysis.fit.lines.size(); ++k) {
        const GroupLine& line = analysis.fit.lines[k];
        const PointsView points = analysis.fit.pointsOf(k);
        plot.groups.push_back(
            {line.group, points.x, points.y, line.slope, line.intercept, line.xMean, line.yMean, points.downweighted});
    }
    return plot;
}

ResidualPlotData residualPlot(const Analysis& analysis, std::vector<GroupScores> scores)
{
    const AnalysisSettings& settings = analysis.fit.settings;
    const std::optional<double> commonSlope = plottedCommonSlope(analysis);
    ResidualPlotData plot;
    char slope[64] = "b each group's slope";
    if (commonSlope)
        std::snprintf(slope, sizeof slope, "b the common slope %.4g", *commonSlope);
    plot.title = "Residuals of " +
                 linesOf(settings, analysis.data, namesOf(transformNames, settings.transform).report) + ", " + slope;
    plot.fittedLabel = std::string("fitted-axis score F = ") + fittedScoreText(settings.method);
    plot.residualLabel = std::string("residual-axis score R = ") + residualScoreText();
    plot.grouped = analysis.data.grouped();
    for (std::size_t k = 0; k < analysis.fit.lines.size(); ++k)
        plot.groups.push_back(
            {analysis.fit.lines[k].group, std::move(scores[k].fitted), std::move(scores[k].residual)});
    return plot;
}

} // namespace korvel
