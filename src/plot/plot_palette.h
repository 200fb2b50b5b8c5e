// The look of each group on a plot: its colour and its marker (plot.h lists them).
#pragma once

#include <cstddef>

#include <cairo.h>

namespace korvel {

// Sets the group's colour as the source: lighter (each channel 55 % of the way
// to white) when light, with the opacity alpha.
void setGroupColour(cairo_t* cr, std::size_t group, bool light = false, double alpha = 1);

// Fills the group's marker of size r (a circle's radius) centred on (x, y);
// a hollow one is its outline, a line a fifth of r wide.
void marker(cairo_t* cr, std::size_t group, double x, double y, double r, bool hollow = false);

// The lines of a plot: each group's own line (lighter and wider when the lines
// with the common slope are drawn over it), the lines with the common slope
// (dashed) and the line of a hypothesised slope (dotted).
enum class LineKind { Own, OwnLight, Common, Hypothesis };

// Sets the width, dash pattern and cap of a line of the kind; its colour is set apart.
void setLineKind(cairo_t* cr, LineKind kind);

// The grey of the lines that belong to no group.
void setGrey(cairo_t* cr);

} // namespace korvel
