#include "plot/plot_palette.h"

#include <iterator>

#include "plot/plot.h"

namespace korvel {

namespace {
constexpr double pi = 3.14159265358979323846;
constexpr double lightening = 0.55;
constexpr double dash[] = {7, 5}, dot[] = {0, 4};
} // namespace

std::array<unsigned char, 3> plotColour(std::size_t i)
{
    static const std::array<unsigned char, 3> colours[] = {{0, 114, 178},  {213, 94, 0},   {0, 158, 115}, {204, 121, 167},
                                                           {86, 180, 233}, {230, 159, 0},  {0, 0, 0}};
    return colours[i % plotColours];
}

PlotMarker plotMarker(std::size_t i)
{
    return static_cast<PlotMarker>(i % plotMarkers);
}

void setGroupColour(cairo_t* cr, std::size_t group, bool light, double alpha)
{
    const auto c = plotColour(group);
    const double f = light ? lightening : 0;
    cairo_set_source_rgba(cr, (c[0] + f * (255 - c[0])) / 255, (c[1] + f * (255 - c[1])) / 255,
                          (c[2] + f * (255 - c[2])) / 255, alpha);
}

void marker(cairo_t* cr, std::size_t group, double x, double y, double r, bool hollow)
{
    const double s = 1.25 * r, w = 1.0825 * r; // a triangle's circumradius and half its base
    switch (plotMarker(group)) {
    case PlotMarker::Circle:
        cairo_arc(cr, x, y, r, 0, 2 * pi);
        break;
    case PlotMarker::Square:
        cairo_rectangle(cr, x - 0.875 * r, y - 0.875 * r, 1.75 * r, 1.75 * r);
        break;
    case PlotMarker::TriangleUp: // centred on its centroid
        cairo_move_to(cr, x, y - s);
        cairo_line_to(cr, x + w, y + s / 2);
        cairo_line_to(cr, x - w, y + s / 2);
        break;
    case PlotMarker::Diamond:
        cairo_move_to(cr, x, y - s);
        cairo_line_to(cr, x + 1.125 * r, y);
        cairo_line_to(cr, x, y + s);
        cairo_line_to(cr, x - 1.125 * r, y);
        break;
    case PlotMarker::TriangleDown:
        cairo_move_to(cr, x, y + s);
        cairo_line_to(cr, x + w, y - s / 2);
        cairo_line_to(cr, x - w, y - s / 2);
        break;
    }
    cairo_close_path(cr);
    if (!hollow) {
        cairo_fill(cr);
        return;
    }
    cairo_set_line_width(cr, r / 5);
    cairo_stroke(cr);
}

void setLineKind(cairo_t* cr, LineKind kind)
{
    cairo_set_line_width(cr, kind == LineKind::OwnLight ? 3 : 2);
    cairo_set_line_cap(cr, kind == LineKind::Hypothesis ? CAIRO_LINE_CAP_ROUND : CAIRO_LINE_CAP_BUTT);
    if (kind == LineKind::Common)
        cairo_set_dash(cr, dash, std::size(dash), 0);
    else if (kind == LineKind::Hypothesis)
        cairo_set_dash(cr, dot, std::size(dot), 0);
    else
        cairo_set_dash(cr, nullptr, 0, 0);
}

void setGrey(cairo_t* cr)
{
    cairo_set_source_rgb(cr, 0.4, 0.4, 0.4);
}

} // namespace korvel
