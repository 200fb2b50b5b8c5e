// The residual plot (plot.h): the scores of the groups, and the normal
// quantile-quantile plot of their residuals.
#include <algorithm>
#include <cmath>

#include <gsl/gsl_cdf.h>
#include <gsl/gsl_statistics_double.h>

#include "plot/plot.h"
#include "plot/plot_axes.h"
#include "plot/plot_canvas.h"
#include "plot/plot_legend.h"
#include "plot/plot_palette.h"
#include "plot/plot_points.h"
#include "plot/plot_text.h"

namespace korvel {

namespace {
constexpr Box scoresBox{80, 380, 50, 410}, quantilesBox{460, 760, 50, 410};
constexpr double height = 480, legendX = 772, legendY = 58, margin = 8;

std::size_t pointCount(const ResidualGroup& g)
{
    return std::min(g.fitted.size(), g.residual.size());
}

bool finitePair(const ResidualGroup& g, std::size_t k)
{
    return std::isfinite(g.fitted[k]) && std::isfinite(g.residual[k]);
}

// The group's mean residual score and the range of its fitted scores, over its finite pairs.
struct GroupSpan {
    double mean = NAN, lo = INFINITY, hi = -INFINITY;
};

GroupSpan spanOf(const ResidualGroup& g)
{
    GroupSpan s;
    double sum = 0, n = 0;
    for (std::size_t k = 0; k < pointCount(g); ++k)
        if (finitePair(g, k)) {
            sum += g.residual[k], ++n;
            s.lo = std::min(s.lo, g.fitted[k]), s.hi = std::max(s.hi, g.fitted[k]);
        }
    if (n > 0)
        s.mean = sum / n;
    return s;
}

// The points of a box, group by group, and the frame around them.
struct Panel {
    std::vector<std::vector<double>> x, y;
    Frame frame;
};

std::vector<GroupPoints> pointsOf(const Panel& p)
{
    std::vector<GroupPoints> points;
    for (std::size_t g = 0; g < p.x.size(); ++g)
        points.push_back({g, p.x[g], p.y[g]});
    return points;
}

Panel panelOf(Box box, std::vector<std::vector<double>> x, std::vector<std::vector<double>> y)
{
    Panel p{std::move(x), std::move(y), {}};
    p.frame = frameAround(box, pointsOf(p));
    return p;
}

Panel scoresPanel(const ResidualPlotData& plot)
{
    std::vector<std::vector<double>> x, y;
    for (const ResidualGroup& g : plot.groups) {
        x.emplace_back(g.fitted.begin(), g.fitted.begin() + pointCount(g));
        y.emplace_back(g.residual.begin(), g.residual.begin() + pointCount(g));
    }
    return panelOf(scoresBox, std::move(x), std::move(y));
}

struct Residual {
    double r;
    std::size_t group;
};

// The pooled residuals in ascending order (ties in group order, then point order).
std::vector<Residual> pooledResiduals(const ResidualPlotData& plot)
{
    std::vector<Residual> pooled;
    for (std::size_t i = 0; i < plot.groups.size(); ++i) {
        const ResidualGroup& g = plot.groups[i];
        const double mean = spanOf(g).mean;
        for (std::size_t k = 0; k < pointCount(g); ++k)
            if (finitePair(g, k))
                pooled.push_back({g.residual[k] - mean, i});
    }
    std::stable_sort(pooled.begin(), pooled.end(), [](const Residual& a, const Residual& b) { return a.r < b.r; });
    return pooled;
}

// Each residual at the standard normal quantile of its plotting position (i - 0.5) / n.
Panel quantilePanel(const ResidualPlotData& plot, const std::vector<Residual>& pooled)
{
    std::vector<std::vector<double>> x(plot.groups.size()), y(plot.groups.size());
    for (std::size_t i = 0; i < pooled.size(); ++i) {
        x[pooled[i].group].push_back(gsl_cdf_ugaussian_Pinv((i + 0.5) / pooled.size()));
        y[pooled[i].group].push_back(pooled[i].r);
    }
    return panelOf(quantilesBox, std::move(x), std::move(y));
}

void drawScores(cairo_t* cr, const ResidualPlotData& plot)
{
    const Panel p = scoresPanel(plot);
    const Frame& f = p.frame;
    drawPoints(cr, f, pointsOf(p), plot.vectorMarkers);
    setLineKind(cr, LineKind::Own);
    for (std::size_t i = 0; i < plot.groups.size(); ++i) {
        const GroupSpan s = spanOf(plot.groups[i]);
        setGroupColour(cr, i);
        line(cr, f, s.mean, 0, s.lo, s.hi);
    }
    drawAxes(cr, f, AxisScale::Linear, plot.fittedLabel, plot.residualLabel);
}

// The normal quantile-quantile plot with its line through the quartiles.
void drawQuantiles(cairo_t* cr, const ResidualPlotData& plot)
{
    const std::vector<Residual> pooled = pooledResiduals(plot);
    const Panel p = quantilePanel(plot, pooled);
    const Frame& f = p.frame;
    drawPoints(cr, f, pointsOf(p), plot.vectorMarkers);
    if (!pooled.empty()) {
        std::vector<double> sorted;
        for (const Residual& r : pooled)
            sorted.push_back(r.r);
        const double q1 = gsl_stats_quantile_from_sorted_data(sorted.data(), 1, sorted.size(), 0.25);
        const double q3 = gsl_stats_quantile_from_sorted_data(sorted.data(), 1, sorted.size(), 0.75);
        const double z1 = gsl_cdf_ugaussian_Pinv(0.25), z3 = gsl_cdf_ugaussian_Pinv(0.75);
        const double b = (q3 - q1) / (z3 - z1);
        setGrey(cr);
        setLineKind(cr, LineKind::Own);
        cairo_set_line_width(cr, 1);
        line(cr, f, q1 - b * z1, b, f.x.lo, f.x.hi);
    }
    drawAxes(cr, f, AxisScale::Linear, "standard normal quantile", "residual from the group mean");
}

void draw(cairo_t* cr, const ResidualPlotData& plot, const std::vector<LegendRow>& legend, double width)
{
    drawScores(cr, plot);
    drawQuantiles(cr, plot);
    // Over the two boxes; over the whole figure when it has no legend (a single group).
    drawTitle(cr, plot.title, legend.empty() ? width / 2 : (scoresBox.left + quantilesBox.right) / 2, width);
    drawLegend(cr, legendX, legendY, legend);
}
} // namespace

void writeResidualPlot(std::ostream& out, const ResidualPlotData& plot, PlotFormat format)
{
    std::vector<std::string> names;
    if (plot.grouped)
        for (const ResidualGroup& g : plot.groups)
            names.push_back(g.name);
    const std::vector<LegendRow> legend = legendRows(names, LineKind::Own, {});
    const double width = legendX + legendWidth(legend.size()) + margin;
    writeFigure(out, format, width, height, [&](cairo_t* cr) { draw(cr, plot, legend, width); });
}

} // namespace korvel
