#include "plot/plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "plot/plot_axes.h"
#include "plot/plot_canvas.h"
#include "plot/plot_legend.h"
#include "plot/plot_palette.h"
#include "plot/plot_points.h"
#include "plot/plot_text.h"

namespace korvel {

namespace {
constexpr Box box{80, 500, 50, 410};
constexpr double height = 480, legendX = 512, legendY = 58, margin = 8;

std::size_t pointCount(const PlotGroup& g)
{
    return std::min(g.x.size(), g.y.size());
}

bool finitePoint(const PlotGroup& g, std::size_t i)
{
    return std::isfinite(g.x[i]) && std::isfinite(g.y[i]);
}

// A line y = a + b x drawn over lo..hi.
struct Segment {
    double a, b, lo, hi;
};

// The group's own line over its finite X range (stretched to 0 for lines
// through the origin on linear axes), and its line with the common slope over
// that range when there is one; none without a range.
std::vector<Segment> segmentsOf(const PlotGroup& g, std::optional<double> commonSlope, bool toOrigin)
{
    double lo = INFINITY, hi = -INFINITY;
    for (std::size_t k = 0; k < pointCount(g); ++k)
        if (finitePoint(g, k))
            lo = std::min(lo, g.x[k]), hi = std::max(hi, g.x[k]);
    if (!(lo < hi))
        return {};
    std::vector<Segment> lines{{g.intercept, g.slope, toOrigin ? std::min(lo, 0.0) : lo, toOrigin ? std::max(hi, 0.0) : hi}};
    if (commonSlope)
        lines.push_back({g.yMean - *commonSlope * g.xMean, *commonSlope, lo, hi});
    return lines;
}

// Each group's segments, in the order of the groups.
std::vector<std::vector<Segment>> groupSegments(const PlotData& plot)
{
    std::vector<std::vector<Segment>> segments;
    for (const PlotGroup& g : plot.groups)
        segments.push_back(segmentsOf(g, plot.commonSlope, plot.throughOrigin && plot.scale == AxisScale::Linear));
    return segments;
}

// The group's lines: its own (lighter under the line with the common slope), then that one dashed over it.
void groupLines(cairo_t* cr, const Frame& f, const std::vector<Segment>& lines, std::size_t i)
{
    for (std::size_t k = 0; k < lines.size(); ++k) {
        const bool own = k == 0, light = own && lines.size() > 1;
        setGroupColour(cr, i, light);
        setLineKind(cr, own ? (light ? LineKind::OwnLight : LineKind::Own) : LineKind::Common);
        line(cr, f, lines[k].a, lines[k].b, lines[k].lo, lines[k].hi);
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
        points.push_back({i, plot.groups[i].x, plot.groups[i].y,
                          plot.groups[i].hollow.empty() ? nullptr : &plot.groups[i].hollow});
    const std::vector<std::vector<Segment>> segments = groupSegments(plot);
    std::vector<double> endX, endY; // the axes take in the lines' ends too
    for (const auto& lines : segments)
        for (const Segment& s : lines)
            for (double x : {s.lo, s.hi})
                endX.push_back(x), endY.push_back(s.a + s.b * x);
    std::vector<GroupPoints> framed = points;
    framed.push_back({0, endX, endY});
    const Frame f = frameAround(box, framed, plot.throughOrigin);
    drawPoints(cr, f, points, plot.vectorMarkers);
    if (plot.hypothesisSlope)
        hypothesisLine(cr, f, plot);
    for (std::size_t i = 0; i < plot.groups.size(); ++i)
        groupLines(cr, f, segments[i], i);
    drawAxes(cr, f, plot.scale, plot.xLabel, plot.yLabel);
    drawTitle(cr, plot.title, (box.left + box.right) / 2, width);
    drawLegend(cr, legendX, legendY, legend);
}
} // namespace

void writePlot(std::ostream& out, const PlotData& plot, PlotFormat format)
{
    const std::vector<LegendRow> legend = legendOf(plot);
    const double width = legendX + legendWidth(legend.size()) + margin;
    writeFigure(out, format, width, height, [&](cairo_t* cr) { draw(cr, plot, legend, width); });
}

} // namespace korvel
