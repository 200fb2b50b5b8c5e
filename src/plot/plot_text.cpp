#include "plot/plot_text.h"

#include <algorithm>
#include <map>
#include <optional>

namespace korvel {

namespace {
constexpr const char* fontFamily = "DejaVu Sans";
constexpr const char* ellipsisText = "\u2026";

// The characters of well-formed text, one string each.
std::vector<std::string> charsOf(const std::string& text)
{
    std::vector<std::string> chars;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = 1;
        while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80)
            ++n;
        chars.push_back(text.substr(i, n));
        i += n;
    }
    return chars;
}

std::string joined(const std::vector<std::string>& chars, std::size_t from, std::size_t to)
{
    std::string s;
    for (std::size_t i = from; i < to; ++i)
        s += chars[i];
    return s;
}

double widthOf(cairo_t* cr, const std::string& text)
{
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    return e.x_advance;
}

// The characters kept, in order, with an ellipsis for each run left out.
std::string keptText(const std::vector<std::string>& c, const std::vector<bool>& kept)
{
    std::string text;
    bool leftOut = false; // in a run left out
    for (std::size_t i = 0; i < c.size(); ++i) {
        if (!kept[i] && !leftOut)
            text += ellipsisText;
        leftOut = !kept[i];
        if (kept[i])
            text += c[i];
    }
    return text;
}

// The name as it fits in width: its beginning and end, and, when the character
// at index must is set, the characters just before it and that one, grown in
// turn (must's run first, then the beginning, then the end) while the text fits.
std::string shortened(cairo_t* cr, const std::vector<std::string>& c, std::optional<std::size_t> must, double width)
{
    if (widthOf(cr, joined(c, 0, c.size())) <= width)
        return joined(c, 0, c.size());
    std::vector<bool> kept(c.size(), false);
    std::size_t head = 0, tail = 0, run = 0; // the run of characters ending at must
    if (must)
        kept[*must] = true, run = 1;
    bool grows[] = {must.has_value(), true, true};
    for (int turn = 0; grows[0] || grows[1] || grows[2]; turn = (turn + 1) % 3) {
        if (!grows[turn])
            continue;
        const std::size_t next = turn == 0 ? (run <= *must ? *must - run : c.size())
                                 : turn == 1 ? head
                                             : c.size() - 1 - tail;
        if (next >= c.size() || kept[next]) {
            grows[turn] = false;
            continue;
        }
        kept[next] = true;
        if (widthOf(cr, keptText(c, kept)) > width) {
            kept[next] = false;
            grows[turn] = false;
            continue;
        }
        (turn == 0 ? run : turn == 1 ? head : tail) += 1;
    }
    return keptText(c, kept);
}

std::size_t commonStart(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    return i;
}
} // namespace

void setFont(cairo_t* cr, double size, bool bold)
{
    cairo_select_font_face(cr, fontFamily, CAIRO_FONT_SLANT_NORMAL, bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

std::string wellFormed(const std::string& s)
{
    std::string text;
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = s[i];
        const std::size_t n = c < 0x80 ? 1 : c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
        bool ok = n > 0 && i + n <= s.size();
        for (std::size_t k = 1; ok && k < n; ++k)
            ok = (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80;
        if (ok) { // no overlong forms, surrogates or values past U+10FFFF (lead bytes E0, ED, F0, F4)
            const unsigned char d = s[i + 1]; // the string's closing zero after a last single byte
            ok = !(c == 0xE0 && d < 0xA0) && !(c == 0xED && d >= 0xA0) && !(c == 0xF0 && d < 0x90) && !(c == 0xF4 && d >= 0x90);
        }
        if (ok && c != 0)
            text.append(s, i, n), i += n;
        else
            text += '?', ++i;
    }
    return text;
}

std::string fitted(cairo_t* cr, const std::string& s, double width)
{
    const std::vector<std::string> c = charsOf(wellFormed(s));
    if (widthOf(cr, joined(c, 0, c.size())) <= width)
        return joined(c, 0, c.size());
    std::size_t fits = 0, wide = c.size(); // the most characters kept before the ellipsis: from fits, below wide
    while (wide - fits > 1) {
        const std::size_t keep = (fits + wide) / 2;
        (widthOf(cr, joined(c, 0, keep) + ellipsisText) <= width ? fits : wide) = keep;
    }
    return joined(c, 0, fits) + ellipsisText;
}

std::vector<std::string> shortenedNames(cairo_t* cr, const std::vector<std::string>& names, double width)
{
    std::vector<std::vector<std::string>> chars;
    std::vector<std::string> shown;
    std::map<std::string, std::vector<std::size_t>> readers; // the names that read as each text
    for (const std::string& name : names) {
        chars.push_back(charsOf(wellFormed(name)));
        shown.push_back(shortened(cr, chars.back(), std::nullopt, width));
        readers[shown.back()].push_back(shown.size() - 1);
    }
    for (const auto& entry : readers)
        for (std::size_t i : entry.second) {
            std::optional<std::size_t> differs; // the last first difference from another name that reads the same
            for (std::size_t j : entry.second)
                if (j != i && chars[j] != chars[i])
                    differs = std::max(differs.value_or(0), std::min(commonStart(chars[i], chars[j]), chars[i].size() - 1));
            if (differs)
                shown[i] = shortened(cr, chars[i], differs, width);
        }
    return shown;
}

void drawTitle(cairo_t* cr, const std::string& text, double centre, double width)
{
    constexpr double margin = 8;
    setFont(cr, 15, true);
    const std::string shown = fitted(cr, text, width - 2 * margin);
    cairo_set_source_rgb(cr, 0, 0, 0);
    const double w = widthOf(cr, shown);
    showText(cr, shown, std::clamp(centre - w / 2, margin, width - margin - w), 32, 0);
}

double showText(cairo_t* cr, const std::string& text, double x, double y, double ax, bool middle)
{
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    cairo_move_to(cr, x - ax * e.x_advance, middle ? y - e.y_bearing - e.height / 2 : y);
    cairo_show_text(cr, text.c_str());
    cairo_new_path(cr); // the text leaves its end as the current point: no later path may start from it
    return e.x_advance;
}

} // namespace korvel
