#include "plot/plot_points.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "plot/plot_palette.h"

namespace korvel {

namespace {
constexpr double fewPoints = 300;         // up to this many: full size, opaque
constexpr double largest = 4, smallest = 1.25, faintest = 0.1;
constexpr std::size_t mostVectorPoints = 20000; // beyond: an image in SVG and PDF
constexpr double imageScale = 3;                // its pixels per unit

struct Drawn {
    double order; // (k + 0.5) / n of point k of a group of n
    std::size_t g, k;
    bool operator<(const Drawn& o) const { return std::tie(order, g, k) < std::tie(o.order, o.g, o.k); }
};

// The points inside the box, each group spread evenly over the drawing order.
std::vector<Drawn> drawingOrder(const Frame& f, const std::vector<GroupPoints>& groups)
{
    std::vector<Drawn> drawn;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const GroupPoints& p = groups[g];
        std::vector<std::size_t> inside;
        for (std::size_t k = 0; k < std::min(p.x.size(), p.y.size()); ++k)
            if (f.inside(f.px(p.x[k]), f.py(p.y[k])))
                inside.push_back(k);
        for (std::size_t i = 0; i < inside.size(); ++i)
            drawn.push_back({(i + 0.5) / inside.size(), g, inside[i]});
    }
    std::sort(drawn.begin(), drawn.end());
    return drawn;
}

void markers(cairo_t* cr, const Frame& f, const std::vector<GroupPoints>& groups, const std::vector<Drawn>& drawn)
{
    const double r = markerRadius(drawn.size()), alpha = markerOpacity(drawn.size());
    for (const Drawn& d : drawn) {
        const GroupPoints& p = groups[d.g];
        setGroupColour(cr, p.group, false, alpha);
        marker(cr, p.group, f.px(p.x[d.k]), f.py(p.y[d.k]), r, p.hollow && (*p.hollow)[d.k]);
    }
}
} // namespace

Frame frameAround(Box box, const std::vector<GroupPoints>& groups, bool withZero)
{
    double xlo = INFINITY, xhi = -INFINITY, ylo = INFINITY, yhi = -INFINITY;
    for (const GroupPoints& p : groups)
        for (std::size_t k = 0; k < std::min(p.x.size(), p.y.size()); ++k)
            if (std::isfinite(p.x[k]) && std::isfinite(p.y[k])) {
                xlo = std::min(xlo, p.x[k]), xhi = std::max(xhi, p.x[k]);
                ylo = std::min(ylo, p.y[k]), yhi = std::max(yhi, p.y[k]);
            }
    return {box, axisRange(xlo, xhi, withZero), axisRange(ylo, yhi, withZero)};
}

double markerRadius(std::size_t n)
{
    return std::clamp(largest * std::pow(fewPoints / n, 0.25), smallest, largest);
}

double markerOpacity(std::size_t n)
{
    return std::clamp(std::sqrt(fewPoints / n), faintest, 1.0);
}

void drawPoints(cairo_t* cr, const Frame& f, const std::vector<GroupPoints>& groups, bool vectorMarkers)
{
    const std::vector<Drawn> drawn = drawingOrder(f, groups);
    if (vectorMarkers || drawn.size() <= mostVectorPoints ||
        cairo_surface_get_type(cairo_get_target(cr)) == CAIRO_SURFACE_TYPE_IMAGE) {
        markers(cr, f, groups, drawn);
        return;
    }
    const Box& b = f.box;
    cairo_surface_t* image =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(std::ceil((b.right - b.left) * imageScale)),
                                   static_cast<int>(std::ceil((b.bottom - b.top) * imageScale)));
    cairo_t* ic = cairo_create(image);
    cairo_scale(ic, imageScale, imageScale);
    cairo_translate(ic, -b.left, -b.top);
    markers(ic, f, groups, drawn);
    cairo_destroy(ic);
    cairo_save(cr);
    cairo_translate(cr, b.left, b.top);
    cairo_scale(cr, 1 / imageScale, 1 / imageScale);
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(image);
}

} // namespace korvel
