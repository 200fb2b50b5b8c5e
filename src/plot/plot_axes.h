// The frame of a plot: the box, the ranges of its axes, the mapping of values
// to the figure, the ticks and their labels, and lines clipped to the box.
#pragma once

#include <string>
#include <vector>

#include <cairo.h>

#include "plot/plot.h"

namespace korvel {

struct Range {
    double lo = 0, hi = 1;
};

// The range of the finite values lo..hi (lo > hi when there are none), with
// 0 in it when withZero, widened as plot.h says.
Range axisRange(double lo, double hi, bool withZero = false);

struct Box {
    double left, right, top, bottom; // y grows downwards
};

struct Frame {
    Box box;
    Range x, y;
    double px(double v) const { return box.left + (box.right - box.left) * (v - x.lo) / (x.hi - x.lo); }
    double py(double v) const { return box.bottom - (box.bottom - box.top) * (v - y.lo) / (y.hi - y.lo); }
    bool inside(double px, double py) const // false for what is not finite
    {
        return px >= box.left && px <= box.right && py >= box.top && py <= box.bottom;
    }
};

struct Tick {
    double at;         // where it lands, on the axis's (drawn) scale
    std::string label; // the value it stands for
};

// The ticks of an axis over the range, by its scale as plot.h says.
std::vector<Tick> axisTicks(Range r, AxisScale scale);

// The box, the ticks with their labels and the axis titles.
void drawAxes(cairo_t* cr, const Frame& f, AxisScale scale, const std::string& xTitle, const std::string& yTitle);

// Strokes the line y = a + b x over lo..hi as far as it lies in the box: the
// lines of a plot are clipped here, and nothing else keeps them in the box.
void line(cairo_t* cr, const Frame& f, double a, double b, double lo, double hi);

} // namespace korvel
