// The legend of a plot: one row per group, then one per kind of line that
// belongs to no group, in columns right of the plot (plot.h says where).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include <cairo.h>

#include "plot/plot_palette.h"

namespace korvel {

struct LegendRow {
    std::string text;
    std::optional<std::size_t> group; // drawn with the group's marker and colour
    std::optional<LineKind> line;     // its line sample, in the group's colour or grey
};

// The rows of the groups named (as many as the legend holds, the last then
// counting the groups left out) with their lines of the kind, then the others.
std::vector<LegendRow> legendRows(const std::vector<std::string>& names, LineKind groupLine,
                                  const std::vector<LegendRow>& others);

// The number of columns the rows take (none without rows).
std::size_t legendColumns(std::size_t rows);

// The width of the legend's columns.
double legendWidth(std::size_t rows);

// Draws the rows in columns from x, the first row's centre at y.
void drawLegend(cairo_t* cr, double x, double y, const std::vector<LegendRow>& rows);

} // namespace korvel
