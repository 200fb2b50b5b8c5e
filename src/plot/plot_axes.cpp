#include "plot/plot_axes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "plot/plot_text.h"

namespace korvel {

namespace {
constexpr double pi = 3.14159265358979323846;
constexpr double tickLength = 5, tickFont = 11, titleFont = 13;
constexpr double xLabelBaseline = 19, xTitleBaseline = 42; // below the box
constexpr std::size_t mostTicks = 20;

struct Values {
    std::vector<double> v;
    double step = 0;
};

// Round values 1, 2 or 5 times a power of ten, about six to the span, inside the range.
Values linearValues(Range r)
{
    const double raw = (r.hi - r.lo) / 6;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double n = raw / magnitude;
    Values out;
    out.step = (n < 1.5 ? 1 : n < 3 ? 2 : n < 7 ? 5 : 10) * magnitude;
    if (!std::isfinite(out.step) || !(out.step > 0))
        return out;
    const double last = std::floor(r.hi / out.step + 1e-9);
    for (double i = std::ceil(r.lo / out.step - 1e-9); i <= last && out.v.size() < mostTicks; ++i)
        out.v.push_back(i * out.step + 0.0); // + 0.0 turns -0 into 0
    return out;
}

// A minus as a minus sign.
std::string withMinusSigns(std::string label)
{
    for (std::size_t minus; (minus = label.find('-')) != std::string::npos;)
        label.replace(minus, 1, "\u2212");
    return label;
}

// A number printf wrote with "%g": e+06 as e6, e-05 as e-5, and a minus as a minus sign.
std::string tidied(std::string label)
{
    const std::size_t e = label.find('e');
    if (e != std::string::npos) {
        const std::size_t from = label[e + 1] == '+' ? e + 1 : e + 2;
        label.erase(from, label.find_first_not_of("+0", from) - from); // the exponent is never 0
    }
    return withMinusSigns(label);
}

// The labels of values a step apart: with the decimals the step needs, or, for
// values from 1e5 up or all below 1e-4, with the significant digits it needs
// and a short exponent ("2.5e6").
std::vector<std::string> linearLabels(const Values& values)
{
    double largest = 0;
    for (double v : values.v)
        largest = std::max(largest, std::fabs(v));
    const bool exponent = largest >= 1e5 || largest < 1e-4;
    const double stepDigits = std::floor(std::log10(values.step) + 1e-9);
    const double needed = largest > 0 ? std::floor(std::log10(largest)) - stepDigits + 1 : 1;
    const int digits = static_cast<int>(std::clamp(needed, 1.0, 15.0));
    std::vector<std::string> labels;
    for (double v : values.v) {
        char text[40];
        if (exponent)
            std::snprintf(text, sizeof text, "%.*g", digits, v);
        else
            std::snprintf(text, sizeof text, "%.*f", std::max(0, int(-stepDigits)), v);
        labels.push_back(tidied(text));
    }
    return labels;
}

// A label without the zeros that end its decimals ("2.50" as "2.5", "3.0" as "3").
std::string trimmed(std::string label)
{
    if (label.find('.') == std::string::npos || label.find('e') != std::string::npos)
        return label;
    label.erase(label.find_last_not_of('0') + 1);
    if (label.back() == '.')
        label.pop_back();
    return label;
}

// The label of m times 10^k: in decimals from 1e-4 to below 1e5, else "2e-6".
std::string powerLabel(int m, double k)
{
    char text[48];
    if (k >= -4 && k <= 4)
        std::snprintf(text, sizeof text, "%.*f", k < 0 ? int(-k) : 0, m * std::pow(10.0, k));
    else
        std::snprintf(text, sizeof text, "%de%.0f", m, k);
    return withMinusSigns(text);
}

// The ticks of a log axis: values in the original units, placed at their logarithm.
std::vector<Tick> logTicks(Range r, AxisScale scale)
{
    const double perDecade = scale == AxisScale::Ln ? std::log(10.0) : 1; // drawn units per power of ten
    const double dlo = r.lo / perDecade, dhi = r.hi / perDecade;
    std::vector<Tick> ticks;
    const bool fewDecades = dhi - dlo <= 5;
    if (fewDecades) // 1, 2 and 5 times each power of ten
        for (double k = std::floor(dlo); k <= dhi; ++k)
            for (int m : {1, 2, 5}) {
                const double d = k + std::log10(m);
                if (d >= dlo - 1e-9 && d <= dhi + 1e-9)
                    ticks.push_back({d * perDecade, powerLabel(m, k)});
            }
    if (fewDecades && ticks.size() >= 3 && ticks.size() <= 10)
        return ticks;
    if (fewDecades && ticks.size() < 3) { // a narrow range: round values in the original units
        const Range original{std::pow(10.0, dlo), std::pow(10.0, dhi)};
        const Values values = linearValues(original);
        if (values.v.size() < 2) // none past the largest number, or below the smallest
            return ticks;
        const std::vector<std::string> labels = linearLabels(values);
        ticks.clear();
        for (std::size_t i = 0; i < values.v.size(); ++i)
            ticks.push_back({std::log10(values.v[i]) * perDecade, trimmed(labels[i])});
        return ticks;
    }
    // A wide range: every s-th power of ten, at most eight.
    double s = 1;
    for (int i = 0; std::floor(dhi / s) - std::ceil(dlo / s) + 1 > 8; ++i)
        s *= i % 3 == 1 ? 2.5 : 2; // 1, 2, 5, 10, 20, 50, ...
    ticks.clear();
    for (double k = std::ceil(dlo / s) * s; k <= dhi; k += s)
        ticks.push_back({k * perDecade, powerLabel(1, k)});
    return ticks;
}
} // namespace

Range axisRange(double lo, double hi, bool withZero)
{
    if (withZero)
        lo = std::min(lo, 0.0), hi = std::max(hi, 0.0);
    if (!(lo <= hi))
        return {};
    const double pad = hi > lo ? 0.05 * (hi - lo) : std::max(1.0, 0.05 * std::fabs(lo));
    const Range r{lo - pad, hi + pad};
    if (!std::isfinite(r.lo) || !std::isfinite(r.hi) || !(r.hi > r.lo))
        return {};
    return r;
}

std::vector<Tick> axisTicks(Range r, AxisScale scale)
{
    if (scale != AxisScale::Linear)
        return logTicks(r, scale);
    const Values values = linearValues(r);
    const std::vector<std::string> labels = linearLabels(values);
    std::vector<Tick> ticks;
    for (std::size_t i = 0; i < values.v.size(); ++i)
        ticks.push_back({values.v[i], labels[i]});
    return ticks;
}

void drawAxes(cairo_t* cr, const Frame& f, AxisScale scale, const std::string& xTitle, const std::string& yTitle)
{
    const Box& b = f.box;
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_set_line_width(cr, 1);
    cairo_set_dash(cr, nullptr, 0, 0);
    cairo_rectangle(cr, b.left - 0.5, b.top - 0.5, b.right - b.left + 1, b.bottom - b.top + 1);
    cairo_stroke(cr);
    setFont(cr, tickFont);
    for (const Tick& t : axisTicks(f.x, scale)) {
        const double x = std::round(f.px(t.at)) + 0.5;
        cairo_move_to(cr, x, b.bottom);
        cairo_line_to(cr, x, b.bottom + tickLength);
        cairo_stroke(cr);
        showText(cr, t.label, x, b.bottom + xLabelBaseline, 0.5);
    }
    double widest = 0;
    for (const Tick& t : axisTicks(f.y, scale)) {
        const double y = std::round(f.py(t.at)) + 0.5;
        cairo_move_to(cr, b.left, y);
        cairo_line_to(cr, b.left - tickLength, y);
        cairo_stroke(cr);
        widest = std::max(widest, showText(cr, t.label, b.left - tickLength - 3, y, 1, true));
    }
    setFont(cr, titleFont);
    showText(cr, fitted(cr, xTitle, b.right - b.left), (b.left + b.right) / 2, b.bottom + xTitleBaseline, 0.5);
    cairo_save(cr); // the Y title reads upwards, left of the widest tick label
    cairo_translate(cr, std::max(16.0, b.left - 14 - widest), (b.top + b.bottom) / 2);
    cairo_rotate(cr, -pi / 2);
    showText(cr, fitted(cr, yTitle, b.bottom - b.top), 0, 0, 0.5);
    cairo_restore(cr);
}

void line(cairo_t* cr, const Frame& f, double a, double b, double lo, double hi)
{
    if (!std::isfinite(a) || !std::isfinite(b))
        return;
    lo = std::max(lo, f.x.lo), hi = std::min(hi, f.x.hi);
    if (b != 0) { // where it crosses the bottom and top of the box
        const double x1 = (f.y.lo - a) / b, x2 = (f.y.hi - a) / b;
        lo = std::max(lo, std::min(x1, x2)), hi = std::min(hi, std::max(x1, x2));
    } else if (a < f.y.lo || a > f.y.hi) {
        return;
    }
    if (!(lo < hi))
        return;
    cairo_move_to(cr, f.px(lo), f.py(a + b * lo));
    cairo_line_to(cr, f.px(hi), f.py(a + b * hi));
    cairo_stroke(cr);
}

} // namespace korvel
