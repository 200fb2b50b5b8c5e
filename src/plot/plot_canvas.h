// A figure written in one of the plot formats: an SVG or PDF document, or a
// PNG image at two pixels per unit.
#pragma once

#include <functional>
#include <ostream>

#include <cairo.h>

#include "plot/plot.h"

namespace korvel {

// Draws the figure of width x height units, on white, with draw and writes it
// onto out; when it could not be drawn or written, out's state says so. The SVG document gets the same
// ids whatever was drawn before; afterwards the drawing and font libraries hold
// no memory (their caches are emptied, so no other Cairo object may be alive).
void writeFigure(std::ostream& out, PlotFormat format, double width, double height,
                 const std::function<void(cairo_t*)>& draw);

} // namespace korvel
