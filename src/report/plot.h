// The plot of an analysis: each group's points and fitted line, and the lines
// with the common slope, as an SVG document of 640 x 480 px.
//
// Where things land (fixed, so that anyone can work out a point's pixel):
// - the plot box spans x from 80 to 500 px and y from 50 to 410 px (y grows
//   downwards); the legend stands right of it, from x 512 px;
// - each axis covers the range of all points whose X and Y are both finite,
//   widened by 5 % of its span on each side. A zero span is widened instead by
//   max(1, 5 % of |value|) on each side; without finite points, or when the
//   range would not be finite, an axis covers 0 to 1. The ticks do not change
//   the range;
// - a point (x, y) lands at
//     px = 80 + 420 (x - xlo) / (xhi - xlo),   py = 410 - 360 (y - ylo) / (yhi - ylo);
// - group i (in the order given) has colour plotColour(i), cycling through
//   seven colours, and marker shape i % 4: filled circle, square, triangle,
//   diamond, drawn opaque over every line;
// - each group's fitted line is solid, 2 px wide, over the X range of its
//   finite points; the common-slope lines are dashed (7 px on, 5 px off) in the
//   group's colour; every line is clipped to the box.
// Values that are not finite, and lines with an undefined slope or intercept,
// are left out. The same data always give the same bytes.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// One group as the plot shows it.
struct PlotGroup {
    std::string name;
    std::vector<double> x, y;        // the points as the analysis saw them (transformed)
    double slope = 0, intercept = 0; // the group's fitted line y = intercept + slope x, drawn over the group's X range
    double xMean = 0, yMean = 0;     // where the group's common-slope line passes
};

struct PlotData {
    std::string title;          // e.g. "SMA lines: Hwt on Bwt by Sex"
    std::string xLabel, yLabel; // e.g. "log Bwt", "log Hwt"
    std::vector<PlotGroup> groups;
    std::optional<double> commonSlope; // when set: each group's line with this slope through (xMean, yMean), dashed, over the group's X range
};

// Writes the plot as an SVG document onto out; false when it could not be drawn or written.
// Afterwards the drawing and font libraries hold no memory (their caches are
// emptied, so no other Cairo object may be alive during the call).
bool writePlot(std::ostream& out, const PlotData& plot);

// The colour of group i as 8-bit red, green and blue: 0 blue (0,114,178),
// 1 vermillion (213,94,0), 2 green (0,158,115), 3 purple (204,121,167),
// 4 sky blue (86,180,233), 5 orange (230,159,0), 6 black, then again from 0.
std::array<unsigned char, 3> plotColour(std::size_t i);
