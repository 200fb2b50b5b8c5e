#include "report/plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "report/plot_axes.h"
#include "report/plot_canvas.h"
#include "report/plot_legend.h"
#include "report/plot_palette.h"
#include "report/plot_points.h"
#include "report/plot_text.h"

namespace korvel {

namespace {
constexpr Box kBox{80, 500, 50, 410};
constexpr double kHeight = 480, kLegendX = 512, kLegendY = 58, kMargin = 8;

std::size_t pointCount(const PlotGroup& g)
{
    return std::min(g.x.size(), g.y.size());
}

bool finitePoint(const PlotGroup& g, std::size_t i)
{
    return std::isfinite(g.x[i]) && std::isfinite(g.y[i]);
}

// The group's own line over its finite X range (stretched to 0 when it goes
// through the origin), and its line with the common slope over the X range.
void groupLines(cairo_t* cr, const Frame& f, const PlotGroup& g, std::size_t i, std::optional<double> commonSlope,
                bool throughOrigin)
{
    double lo = INFINITY, hi = -INFINITY;
    for (std::size_t k = 0; k < pointCount(g); ++k)
        if (finitePoint(g, k))
            lo = std::min(lo, g.x[k]), hi = std::max(hi, g.x[k]);
    if (!(lo < hi))
        return;
    setGroupColour(cr, i, commonSlope.has_value());
    setLineKind(cr, commonSlope ? LineKind::OwnLight : LineKind::Own);
    line(cr, f, g.intercept, g.slope, throughOrigin ? std::min(lo, 0.0) : lo, throughOrigin ? std::max(hi, 0.0) : hi);
    if (commonSlope) {
        setGroupColour(cr, i);
        setLineKind(cr, LineKind::Common);
        line(cr, f, g.yMean - *commonSlope * g.xMean, *commonSlope, lo, hi);
    }
}

// The line of the hypothesised slope through the mean of all finite points.
void hypothesisLine(cairo_t* cr, const Frame& f, const PlotData& plot)
{
    double sx = 0, sy = 0, n = 0;
    for (const PlotGroup& g : plot.groups)
        for (std::size_t i = 0; i < pointCount(g); ++i)
            if (finitePoint(g, i))
                sx += g.x[i], sy += g.y[i], ++n;
    if (n == 0)
        return;
    setGrey(cr);
    setLineKind(cr, LineKind::Hypothesis);
    line(cr, f, sy / n - *plot.hypothesisSlope * sx / n, *plot.hypothesisSlope, f.x.lo, f.x.hi);
}

std::vector<LegendRow> legendOf(const PlotData& plot)
{
    std::vector<std::string> names;
    if (plot.grouped)
        for (const PlotGroup& g : plot.groups)
            names.push_back(g.name);
    std::vector<LegendRow> others;
    if (plot.commonSlope)
        others.push_back({"common slope", std::nullopt, LineKind::Common});
    if (plot.hypothesisSlope) {
        char slope[40]; // with up to six significant digits
        std::snprintf(slope, sizeof slope, "slope %g (hypothesis)", *plot.hypothesisSlope);
        others.push_back({slope, std::nullopt, LineKind::Hypothesis});
    }
    return legendRows(names, plot.commonSlope ? LineKind::OwnLight : LineKind::Own, others);
}

void draw(cairo_t* cr, const PlotData& plot, const std::vector<LegendRow>& legend, double width)
{
    std::vector<GroupPoints> points;
    for (std::size_t i = 0; i < plot.groups.size(); ++i)
        points.push_back({i, plot.groups[i].x, plot.groups[i].y});
    const Frame f = frameAround(kBox, points, plot.throughOrigin);
    drawPoints(cr, f, points);
    if (plot.hypothesisSlope)
        hypothesisLine(cr, f, plot);
    for (std::size_t i = 0; i < plot.groups.size(); ++i)
        groupLines(cr, f, plot.groups[i], i, plot.commonSlope, plot.throughOrigin);
    drawAxes(cr, f, plot.scale, plot.xLabel, plot.yLabel);
    drawTitle(cr, plot.title, (kBox.left + kBox.right) / 2, width);
    drawLegend(cr, kLegendX, kLegendY, legend);
}
} // namespace

void writePlot(std::ostream& out, const PlotData& plot, PlotFormat format)
{
    const std::vector<LegendRow> legend = legendOf(plot);
    const double width = kLegendX + legendWidth(legend.size()) + kMargin;
    writeFigure(out, format, width, kHeight, [&](cairo_t* cr) { draw(cr, plot, legend, width); });
}

} // namespace korvel
