// The two figures of an analysis: the plot of its groups' points and lines,
// and the residual plot that checks the fit, each as an SVG or PDF document or
// a PNG image, drawn with Cairo.
//
// Where things land (fixed, so that anyone can work out a pixel). Lengths are
// units: px in SVG, pt in PDF, two pixels each in PNG. y grows downwards.
//
// THE PLOT is 520 + 170 c units wide (c the legend's columns, 0 to 4) and 480 high.
// - The box spans x from 80 to 500 and y from 50 to 410.
// - Each axis covers the range of all points whose X and Y are both finite
//   and of the ends of the groups' lines (their own and those with the common
//   slope, as drawn below), and 0 when the lines go through the origin,
//   widened by 5 % of its span on
//   each side. A zero span is widened instead by max(1, 5 % of |value|) on each
//   side (through the origin without finite points: -1 to 1); without finite
//   points, or when the range would not be finite, an axis covers 0 to 1. The
//   ticks do not change the range.
// - A point (x, y) lands at
//     px = 80 + 420 (x - xlo) / (xhi - xlo),   py = 410 - 360 (y - ylo) / (yhi - ylo).
// - Ticks, 5 units long outside the box at round(px) + 0.5 (round(py) + 0.5),
//   on a linear axis at the multiples of a step (1, 2 or 5 times a power of
//   ten, about six to the span). On a log axis (the values drawn are
//   logarithms) at values in the original units placed at their logarithm:
//   1, 2 and 5 times each power of ten when that gives 3 to 10 ticks; fewer
//   than 3 (a range narrower than about a decade): the round values the linear
//   axis would choose for the range in the original units; more than 10: every
//   s-th power of ten, s the first of 1, 2, 5, 10, 20, 50, ... giving at most 8.
//   Labels (11 units, DejaVu Sans) centred under a tick with their baseline
//   19 below the box, or right-aligned 8 left of the box centred on a tick;
//   a log axis's labels are its values in the original units ("2.5", "0.01",
//   "1e6": decimals from 1e-4 to below 1e5, otherwise a short exponent).
// - Axis titles (13 units): centred under the box with their baseline 42
//   below it; reading upwards 14 left of the widest Y label. Title (15 units,
//   bold) with its baseline at y 32, centred over the box where it fits.
// - Points are drawn first: group i (in the order given) in colour
//   plotColour(i) with marker plotMarker(i), of radius
//   r = clamp(4 (300 / N)^(1/4), 1.25, 4) and opacity clamp(sqrt(300 / N), 0.1, 1),
//   N the number of points in the box: full size and opaque up to 300 points,
//   smaller and fainter beyond, so that overlaps show density. They are drawn
//   in the order of (k + 0.5) / n for point k of a group of n, so that no
//   group lies on top of another; past 20,000 points an SVG or PDF holds them
//   as one image of 3 pixels per unit over the box (a file of a size that does
//   not grow with the points), unless vectorMarkers asks for every marker as a
//   vector shape.
// - Then the lines, clipped to the box: the hypothesised slope's line (grey
//   102,102,102, round dots 4 apart, 2 wide) through the mean of all finite
//   points across the box; each group's own line, y = intercept + slope x over
//   the X range of its finite points (and to x = 0 for lines through the
//   origin on linear axes; on log axes it keeps to that range), solid, 2 wide
//   in its colour; when the
//   lines with the common slope B are drawn, the own line is 3 wide in its
//   colour lightened (each channel 55 % of the way to white) and the line
//   y = yMean + B (x - xMean) over the same range is dashed over it (7 on,
//   5 off, 2 wide, full colour), so that both show where they coincide.
// - The legend's columns start at x 512 and 170 apart, c = ceil(rows / 24) of
//   them with ceil(rows / c) rows each (the last may have fewer), rows 15
//   apart, the first centred at y 58: per row a line sample from the
//   column's left 24 long, a marker of radius 4 at its middle, and text
//   (11 units) from 30 right of the column's left, centred on the row. Rows:
//   the groups in the order given, column after column (when they do not all
//   fit in four columns, the last of them says "+N more"), then "common slope"
//   (dashed, grey) and "slope B (hypothesis)" (dotted, B with up to six
//   significant digits) when those lines are
//   drawn. An analysis that is not grouped has no row for its group. Names too
//   wide lose characters in their middle (distinct names stay distinct).
//
// THE RESIDUAL PLOT is 780 + 170 c units wide and 480 high, with two boxes,
// y from 50 to 410 each: A from x 80 to 380, B from x 460 to 760; axes, ticks
// and titles as above (linear), each box's ranges over its own points; the
// legend as above from x 772 (group rows only). The title is centred over the
// two boxes, or over the whole figure when it has no legend (a single group).
// - A: each group's residual-axis scores (y) against its fitted-axis scores
//   (x), as the comparisons of the lines use them, and a horizontal line at the
//   group's mean residual score over its fitted-score range (solid, 2 wide).
// - B, the normal quantile-quantile plot: residuals r = residual score minus
//   its group's mean, pooled over the groups (finite scores only), sorted
//   ascending (ties in group order, then point order); the i-th of n, from 1,
//   lands at x = the standard normal quantile of (i - 0.5) / n, y = r, in its
//   group's colour and marker. The grey line (1 wide, solid) passes through
//   the quartiles of r (interpolated between order statistics at (n - 1) p) at
//   the normal quantiles of 0.25 and 0.75, across the box.
// - Points as in the plot, N counted per box.
//
// Values that are not finite, and lines with an undefined slope or intercept,
// are left out. The same data always give the same bytes (a PDF but for its
// creation date).
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace korvel {

enum class PlotFormat { Svg, Pdf, Png };

// The scale of both axes: the values drawn are as given, or their common or
// natural logarithms (then the ticks show the original units).
enum class AxisScale { Linear, Log10, Ln };

// One group as the plot shows it.
struct PlotGroup {
    std::string name;
    std::vector<double> x, y;        // the points as the analysis saw them (transformed)
    double slope = 0, intercept = 0; // the group's fitted line y = intercept + slope x, drawn over the group's X range
    double xMean = 0, yMean = 0;     // where the group's common-slope line passes
    std::vector<bool> hollow;        // parallel to x when not empty: the points drawn hollow (set aside by a robust fit)
};

struct PlotData {
    std::string title;          // e.g. "SMA lines of Hwt on Bwt by Sex"
    std::string xLabel, yLabel; // e.g. "Bwt (log10 scale)"
    std::vector<PlotGroup> groups;
    std::optional<double> commonSlope;     // when set: each group's line with this slope through (xMean, yMean)
    std::optional<double> hypothesisSlope; // when set: a line of this slope through the mean of all points
    AxisScale scale = AxisScale::Linear;
    bool throughOrigin = false; // the axes include 0
    bool grouped = true;        // false: the one group stands for all points and has no legend row
    bool vectorMarkers = false; // every marker a vector shape, however many points
};

// Writes the plot in the format onto out, as every report writer does: when
// it could not be drawn or written, out's state says so (a stream that failed
// already gets nothing). Afterwards the drawing and font libraries hold no
// memory (their caches are emptied, so no other Cairo object may be alive
// during the call).
void writePlot(std::ostream& out, const PlotData& plot, PlotFormat format = PlotFormat::Svg);

// One group's axis scores, point by point.
struct ResidualGroup {
    std::string name;
    std::vector<double> fitted, residual;
};

struct ResidualPlotData {
    std::string title;
    std::string fittedLabel, residualLabel; // the titles of box A's axes
    std::vector<ResidualGroup> groups;
    bool grouped = true;
    bool vectorMarkers = false;
};

// Writes the residual plot in the format onto out, as writePlot does.
void writeResidualPlot(std::ostream& out, const ResidualPlotData& plot, PlotFormat format = PlotFormat::Svg);

// The colour of group i as 8-bit red, green and blue, seven that readers with
// a colour-vision deficiency tell apart: 0 blue (0,114,178), 1 vermillion
// (213,94,0), 2 green (0,158,115), 3 purple (204,121,167), 4 sky blue
// (86,180,233), 5 orange (230,159,0), 6 black, then again from 0.
constexpr std::size_t plotColours = 7;
std::array<unsigned char, 3> plotColour(std::size_t i);

// The marker of group i, filled, the five in turn: a circle of radius r, a
// square of side 1.75 r, a triangle with its point up (centroid on the point,
// 1.25 r to each corner), a diamond (1.25 r up and down, 1.125 r across) and a
// triangle with its point down. Colour and marker together differ for the
// first 35 groups.
enum class PlotMarker { Circle, Square, TriangleUp, Diamond, TriangleDown };
constexpr std::size_t plotMarkers = 5;
PlotMarker plotMarker(std::size_t i);

} // namespace korvel
