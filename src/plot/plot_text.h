// Text on a plot: well-formed, fitted to a width, and placed by an anchor.
#pragma once

#include <string>
#include <vector>

#include <cairo.h>

namespace korvel {

// DejaVu Sans at a size in px (units of the figure), bold or not.
void setFont(cairo_t* cr, double size, bool bold = false);

// The text with every byte that is not part of a well-formed UTF-8 sequence
// replaced by '?' (the drawing library refuses ill-formed text).
std::string wellFormed(const std::string& s);

// The text, well formed and shortened at its end with an ellipsis until it is
// at most width wide in the current font.
std::string fitted(cairo_t* cr, const std::string& s, double width);

// The names, well formed and each at most width wide in the current font:
// a name too wide loses characters from its middle, replaced by an ellipsis,
// keeping as much of its beginning and end as fits, a character at a time in
// turn. Where two names would then read the same, each keeps the first
// character in which it differs from the others that read so, and the
// characters before it as far as they fit in turn with its beginning and end
// ("Felis c…number 01…wild"), so that distinct names stay distinct.
std::vector<std::string> shortenedNames(cairo_t* cr, const std::vector<std::string>& names, double width);

// The figure's title (15 units, bold) with its baseline at y 32, centred on
// x centre where it fits in the width, shortened at its end where it does not.
void drawTitle(cairo_t* cr, const std::string& text, double centre, double width);

// Shows text whose anchor is at (x, y): ax 0 at its left, 0.5 at its centre,
// 1 at its right; the baseline at y, or the text centred on y when middle.
// Returns the text's width.
double showText(cairo_t* cr, const std::string& text, double x, double y, double ax, bool middle = false);

} // namespace korvel
