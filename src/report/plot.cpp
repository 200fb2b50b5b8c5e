#include "report/plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <cairo-svg.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

namespace {
constexpr double kWidth = 640, kHeight = 480;
constexpr double kLeft = 80, kRight = 500, kTop = 50, kBottom = 410;
constexpr double kLegendX = 512, kLegendRow = 18;
constexpr double kLineWidth = 2;
constexpr double kDash[] = {7, 5};
constexpr double kPi = 3.14159265358979323846;
const char* const kFont = "DejaVu Sans";

struct Range {
    double lo = 0, hi = 1;
};

// The range of the finite values lo..hi (lo > hi when there are none), widened as plot.h says.
Range axisRange(double lo, double hi)
{
    if (!(lo <= hi))
        return {};
    const double pad = hi > lo ? 0.05 * (hi - lo) : std::max(1.0, 0.05 * std::fabs(lo));
    const Range r{lo - pad, hi + pad};
    if (!std::isfinite(r.lo) || !std::isfinite(r.hi) || !(r.hi > r.lo))
        return {};
    return r;
}

struct Frame {
    Range x, y;
    double px(double v) const { return kLeft + (kRight - kLeft) * (v - x.lo) / (x.hi - x.lo); }
    double py(double v) const { return kBottom - (kBottom - kTop) * (v - y.lo) / (y.hi - y.lo); }
};

// Whether point i of the group has a finite X and Y.
bool finitePoint(const PlotGroup& g, std::size_t i)
{
    return std::isfinite(g.x[i]) && std::isfinite(g.y[i]);
}

std::size_t pointCount(const PlotGroup& g)
{
    return std::min(g.x.size(), g.y.size());
}

Frame frameOf(const std::vector<PlotGroup>& groups)
{
    double xlo = INFINITY, xhi = -INFINITY, ylo = INFINITY, yhi = -INFINITY;
    for (const PlotGroup& g : groups)
        for (std::size_t i = 0; i < pointCount(g); ++i)
            if (finitePoint(g, i)) {
                xlo = std::min(xlo, g.x[i]), xhi = std::max(xhi, g.x[i]);
                ylo = std::min(ylo, g.y[i]), yhi = std::max(yhi, g.y[i]);
            }
    return {axisRange(xlo, xhi), axisRange(ylo, yhi)};
}

// Round values 1, 2 or 5 times a power of ten, about six to the span, inside the range.
std::vector<double> ticksOf(Range r, double& step)
{
    const double raw = (r.hi - r.lo) / 6;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double n = raw / magnitude;
    step = (n < 1.5 ? 1 : n < 3 ? 2 : n < 7 ? 5 : 10) * magnitude;
    std::vector<double> ticks;
    if (!std::isfinite(step) || !(step > 0))
        return ticks;
    const double last = std::floor(r.hi / step + 1e-9);
    for (double i = std::ceil(r.lo / step - 1e-9); i <= last && ticks.size() < 20; ++i)
        ticks.push_back(i * step + 0.0); // + 0.0 turns -0 into 0
    return ticks;
}

// The labels of the ticks: with the decimals the step needs, or, for values
// from 1e5 up or all below 1e-4, with the significant digits it needs and a
// short exponent ("2.5e6"). A minus is a minus sign.
std::vector<std::string> tickLabels(const std::vector<double>& ticks, double step)
{
    double largest = 0;
    for (double v : ticks)
        largest = std::max(largest, std::fabs(v));
    const bool exponent = largest >= 1e5 || largest < 1e-4;
    const double needed = largest > 0 ? std::floor(std::log10(largest)) - std::floor(std::log10(step) + 1e-9) + 1 : 1;
    const int digits = static_cast<int>(std::clamp(needed, 1.0, 15.0));
    std::vector<std::string> labels;
    for (double v : ticks) {
        char text[40];
        if (exponent)
            std::snprintf(text, sizeof text, "%.*g", digits, v);
        else
            std::snprintf(text, sizeof text, "%.*f", std::max(0, int(-std::floor(std::log10(step) + 1e-9))), v);
        std::string label = text;
        const std::size_t e = label.find('e');
        if (e != std::string::npos) { // e+06 as e6, e-05 as e-5
            const std::size_t from = label[e + 1] == '+' ? e + 1 : e + 2;
            const std::size_t to = label.find_first_not_of("+0", from);
            label.erase(from, (to == std::string::npos ? label.size() - 1 : to) - from);
        }
        for (std::size_t minus; (minus = label.find('-')) != std::string::npos;)
            label.replace(minus, 1, "\u2212");
        labels.push_back(label);
    }
    return labels;
}

// The text with every byte that is not part of a well-formed UTF-8 sequence
// replaced by '?' (the drawing library refuses ill-formed text), and no longer
// than 80 characters (what is drawn is shortened to fit in any case).
std::string wellFormed(const std::string& s)
{
    std::string text;
    std::size_t chars = 0;
    for (std::size_t i = 0; i < s.size() && chars < 80; ++chars) {
        const unsigned char c = s[i];
        const std::size_t n = c < 0x80 ? 1 : c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
        bool ok = n > 0 && i + n <= s.size();
        for (std::size_t k = 1; ok && k < n; ++k)
            ok = (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80;
        if (ok && n > 2) { // no overlong forms, surrogates or values past U+10FFFF
            const unsigned char d = s[i + 1];
            ok = !(c == 0xE0 && d < 0xA0) && !(c == 0xED && d >= 0xA0) && !(c == 0xF0 && d < 0x90) && !(c == 0xF4 && d >= 0x90);
        }
        if (ok && c != 0)
            text.append(s, i, n), i += n;
        else
            text += '?', ++i;
    }
    return text;
}

// The text, well formed and shortened with an ellipsis until it is at most width wide.
std::string fitted(cairo_t* cr, const std::string& s, double width)
{
    std::string text = wellFormed(s);
    cairo_text_extents_t e;
    for (std::string full = text;;) {
        cairo_text_extents(cr, text.c_str(), &e);
        if (e.x_advance <= width || full.empty())
            return text;
        while (!full.empty() && (static_cast<unsigned char>(full.back()) & 0xC0) == 0x80)
            full.pop_back();
        if (!full.empty())
            full.pop_back(); // the last character's first byte
        text = full + "\u2026";
    }
}

// Shows text whose anchor is at (x, y): ax 0 at its left, 0.5 at its centre,
// 1 at its right; the baseline at y, or the text centred on y when middle.
// Returns the text's width.
double showText(cairo_t* cr, const std::string& text, double x, double y, double ax, bool middle = false)
{
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    cairo_move_to(cr, x - ax * e.x_advance, middle ? y - e.y_bearing - e.height / 2 : y);
    cairo_show_text(cr, text.c_str());
    return e.x_advance;
}

void setFont(cairo_t* cr, double size, bool bold = false)
{
    cairo_select_font_face(cr, kFont, CAIRO_FONT_SLANT_NORMAL, bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

void setColour(cairo_t* cr, std::size_t group)
{
    const auto c = plotColour(group);
    cairo_set_source_rgb(cr, c[0] / 255.0, c[1] / 255.0, c[2] / 255.0);
}

void marker(cairo_t* cr, std::size_t group, double x, double y)
{
    switch (group % 4) {
    case 0:
        cairo_arc(cr, x, y, 4, 0, 2 * kPi);
        break;
    case 1:
        cairo_rectangle(cr, x - 3.5, y - 3.5, 7, 7);
        break;
    case 2: // centred on its centroid
        cairo_move_to(cr, x, y - 5);
        cairo_line_to(cr, x + 4.33, y + 2.5);
        cairo_line_to(cr, x - 4.33, y + 2.5);
        break;
    default:
        cairo_move_to(cr, x, y - 5);
        cairo_line_to(cr, x + 4.5, y);
        cairo_line_to(cr, x, y + 5);
        cairo_line_to(cr, x - 4.5, y);
    }
    cairo_close_path(cr);
    cairo_fill(cr);
}

// Strokes the pixel segment (x0,y0)-(x1,y1) as far as it lies in the box
// (clipped here too, so that no huge coordinate reaches the drawing).
void segment(cairo_t* cr, double x0, double y0, double x1, double y1)
{
    const double dx = x1 - x0, dy = y1 - y0;
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(dx) || !std::isfinite(dy))
        return;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {x0 - kLeft, kRight - x0, y0 - kTop, kBottom - y0};
    double t0 = 0, t1 = 1;
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0 && q[k] < 0)
            return;
        if (p[k] < 0)
            t0 = std::max(t0, q[k] / p[k]);
        else if (p[k] > 0)
            t1 = std::min(t1, q[k] / p[k]);
    }
    if (!(t0 < t1))
        return;
    cairo_move_to(cr, x0 + t0 * dx, y0 + t0 * dy);
    cairo_line_to(cr, x0 + t1 * dx, y0 + t1 * dy);
    cairo_stroke(cr);
}

// The group's lines (fitted solid, common slope dashed) over its finite X range.
void groupLines(cairo_t* cr, const Frame& f, const PlotGroup& g, std::optional<double> commonSlope)
{
    double lo = INFINITY, hi = -INFINITY;
    for (std::size_t i = 0; i < pointCount(g); ++i)
        if (finitePoint(g, i))
            lo = std::min(lo, g.x[i]), hi = std::max(hi, g.x[i]);
    if (!(lo < hi))
        return;
    cairo_set_dash(cr, nullptr, 0, 0);
    segment(cr, f.px(lo), f.py(g.intercept + g.slope * lo), f.px(hi), f.py(g.intercept + g.slope * hi));
    if (commonSlope) {
        const double b = *commonSlope;
        cairo_set_dash(cr, kDash, 2, 0);
        segment(cr, f.px(lo), f.py(g.yMean + b * (lo - g.xMean)), f.px(hi), f.py(g.yMean + b * (hi - g.xMean)));
    }
}

// The box, the ticks with their labels and the axis labels.
void axes(cairo_t* cr, const Frame& f, const PlotData& plot)
{
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, kLeft - 0.5, kTop - 0.5, kRight - kLeft + 1, kBottom - kTop + 1);
    cairo_stroke(cr);
    setFont(cr, 11);
    double step = 0;
    std::vector<double> ticks = ticksOf(f.x, step);
    std::vector<std::string> labels = tickLabels(ticks, step);
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const double x = std::round(f.px(ticks[i])) + 0.5;
        cairo_move_to(cr, x, kBottom);
        cairo_line_to(cr, x, kBottom + 5);
        cairo_stroke(cr);
        showText(cr, labels[i], x, kBottom + 19, 0.5);
    }
    ticks = ticksOf(f.y, step);
    labels = tickLabels(ticks, step);
    double widest = 0;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const double y = std::round(f.py(ticks[i])) + 0.5;
        cairo_move_to(cr, kLeft, y);
        cairo_line_to(cr, kLeft - 5, y);
        cairo_stroke(cr);
        widest = std::max(widest, showText(cr, labels[i], kLeft - 8, y, 1, true));
    }
    setFont(cr, 13);
    showText(cr, fitted(cr, plot.xLabel, kRight - kLeft), (kLeft + kRight) / 2, kHeight - 28, 0.5);
    cairo_save(cr); // the Y label reads upwards, left of the widest tick label
    cairo_translate(cr, std::max(16.0, kLeft - 14 - widest), (kTop + kBottom) / 2);
    cairo_rotate(cr, -kPi / 2);
    showText(cr, fitted(cr, plot.yLabel, kBottom - kTop), 0, 0, 0.5);
    cairo_restore(cr);
}

void title(cairo_t* cr, const std::string& text)
{
    setFont(cr, 15, true);
    const std::string shown = fitted(cr, text, kWidth - 16);
    cairo_text_extents_t e;
    cairo_text_extents(cr, shown.c_str(), &e);
    showText(cr, shown, std::clamp((kLeft + kRight - e.x_advance) / 2, 8.0, kWidth - 8 - e.x_advance), 32, 0);
}

// One row per group (and one for the common slope) right of the box; when
// they do not all fit, the last row counts the groups left out.
void legend(cairo_t* cr, const PlotData& plot)
{
    const std::size_t rows = static_cast<std::size_t>((kBottom - kTop) / kLegendRow);
    const std::size_t extra = plot.commonSlope ? 1 : 0, n = plot.groups.size();
    const std::size_t shown = n + extra <= rows ? n : rows - extra - 1;
    const double textX = kLegendX + 30, width = kWidth - 4 - textX;
    setFont(cr, 12);
    cairo_set_line_width(cr, kLineWidth);
    double y = kTop + 8;
    for (std::size_t i = 0; i < shown; ++i, y += kLegendRow) {
        setColour(cr, i);
        cairo_set_dash(cr, nullptr, 0, 0);
        cairo_move_to(cr, kLegendX, y);
        cairo_line_to(cr, kLegendX + 24, y);
        cairo_stroke(cr);
        marker(cr, i, kLegendX + 12, y);
        cairo_set_source_rgb(cr, 0, 0, 0);
        showText(cr, fitted(cr, plot.groups[i].name, width), textX, y, 0, true);
    }
    cairo_set_source_rgb(cr, 0, 0, 0);
    if (shown < n) {
        showText(cr, "+" + std::to_string(n - shown) + " more", textX, y, 0, true);
        y += kLegendRow;
    }
    if (plot.commonSlope) {
        cairo_set_source_rgb(cr, 0.35, 0.35, 0.35);
        cairo_set_dash(cr, kDash, 2, 0);
        cairo_move_to(cr, kLegendX, y);
        cairo_line_to(cr, kLegendX + 24, y);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        showText(cr, fitted(cr, "common slope", width), textX, y, 0, true);
    }
}

void draw(cairo_t* cr, const PlotData& plot)
{
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    const Frame f = frameOf(plot.groups);
    cairo_save(cr);
    cairo_rectangle(cr, kLeft, kTop, kRight - kLeft, kBottom - kTop);
    cairo_clip(cr);
    cairo_set_line_width(cr, kLineWidth);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    for (std::size_t i = 0; i < plot.groups.size(); ++i) {
        setColour(cr, i);
        groupLines(cr, f, plot.groups[i], plot.commonSlope);
    }
    for (std::size_t i = 0; i < plot.groups.size(); ++i) {
        const PlotGroup& g = plot.groups[i];
        setColour(cr, i);
        for (std::size_t k = 0; k < pointCount(g); ++k) {
            const double x = f.px(g.x[k]), y = f.py(g.y[k]);
            if (x >= kLeft && x <= kRight && y >= kTop && y <= kBottom) // false for what is not finite
                marker(cr, i, x, y);
        }
    }
    cairo_restore(cr);
    axes(cr, f, plot);
    title(cr, plot.title);
    legend(cr, plot);
}

cairo_status_t appendToString(void* closure, const unsigned char* data, unsigned int length)
{
    try {
        static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    } catch (...) { // no exception may cross the drawing library
        return CAIRO_STATUS_NO_MEMORY;
    }
    return CAIRO_STATUS_SUCCESS;
}

// The drawing library names the page's group after a count of every surface
// the process has made ("surface7"); it is named "surface1" whatever came before.
void renumberPage(std::string& svg)
{
    const std::string head = "<g id=\"surface";
    const std::size_t at = svg.find(head);
    if (at == std::string::npos)
        return;
    const std::size_t digits = at + head.size();
    const std::size_t end = svg.find_first_not_of("0123456789", digits);
    if (end != std::string::npos)
        svg.replace(digits, end - digits, "1");
}
} // namespace

std::array<unsigned char, 3> plotColour(std::size_t i)
{
    static const std::array<unsigned char, 3> colours[] = {{0, 114, 178},   {213, 94, 0},    {0, 158, 115}, {204, 121, 167},
                                                           {86, 180, 233},  {230, 159, 0},   {0, 0, 0}};
    return colours[i % 7];
}

bool writePlot(std::ostream& out, const PlotData& plot)
{
    if (!out)
        return false;
    std::string svg;
    cairo_surface_t* surface = cairo_svg_surface_create_for_stream(appendToString, &svg, kWidth, kHeight);
    cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);
    cairo_t* cr = cairo_create(surface);
    draw(cr, plot);
    bool drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_finish(surface);
    drawn = drawn && cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    cairo_debug_reset_static_data(); // no cairo object is left: its caches and the fonts' are emptied
    FcFini();
    if (!drawn)
        return false;
    renumberPage(svg);
    return out.write(svg.data(), static_cast<std::streamsize>(svg.size())).flush().good();
}
