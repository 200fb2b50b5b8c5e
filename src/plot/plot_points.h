// The points of a plot: markers sized and made transparent for their number,
// in an order in which no group lies on top of another.
#pragma once

#include <cstddef>
#include <vector>

#include <cairo.h>

#include "plot/plot_axes.h"

namespace korvel {

// The points of one group, drawn in its colour and marker.
struct GroupPoints {
    std::size_t group;
    const std::vector<double>& x;
    const std::vector<double>& y; // parallel to x (the shorter one counts)
    const std::vector<bool>* hollow = nullptr; // parallel to x when given: the points drawn as outlines
};

// The frame of the box around the groups' points whose x and y are both
// finite, with 0 on both axes when withZero (axisRange).
Frame frameAround(Box box, const std::vector<GroupPoints>& groups, bool withZero = false);

// The marker size (a circle's radius) and opacity for n points in a box (plot.h).
double markerRadius(std::size_t n);
double markerOpacity(std::size_t n);

// Draws the points that fall in the frame's box (the ranges' margins keep
// their markers inside it): past 20,000 of them, as one image in an SVG or PDF
// document, unless every marker is to stay a vector shape.
void drawPoints(cairo_t* cr, const Frame& f, const std::vector<GroupPoints>& groups, bool vectorMarkers);

} // namespace korvel
