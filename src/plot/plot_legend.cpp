#include "plot/plot_legend.h"

#include "plot/plot_text.h"

namespace korvel {

namespace {
constexpr double rowHeight = 15, legendColumnWidth = 170, sample = 24, textOffset = 30, fontSize = 11;
constexpr std::size_t rowsPerColumn = 24, mostColumns = 4;
constexpr double sampleMarker = 4;
} // namespace

std::vector<LegendRow> legendRows(const std::vector<std::string>& names, LineKind groupLine,
                                  const std::vector<LegendRow>& others)
{
    const std::size_t room = rowsPerColumn * mostColumns - others.size();
    const std::size_t shown = names.size() <= room ? names.size() : room - 1;
    std::vector<LegendRow> rows;
    for (std::size_t i = 0; i < shown; ++i)
        rows.push_back({names[i], i, groupLine});
    if (shown < names.size())
        rows.push_back({"+" + std::to_string(names.size() - shown) + " more", std::nullopt, std::nullopt});
    rows.insert(rows.end(), others.begin(), others.end());
    return rows;
}

std::size_t legendColumns(std::size_t rows)
{
    return (rows + rowsPerColumn - 1) / rowsPerColumn;
}

double legendWidth(std::size_t rows)
{
    return legendColumnWidth * legendColumns(rows);
}

void drawLegend(cairo_t* cr, double x, double y, const std::vector<LegendRow>& rows)
{
    setFont(cr, fontSize);
    const double textWidth = legendColumnWidth - textOffset - 6;
    std::vector<std::string> names;
    for (const LegendRow& row : rows)
        if (row.group)
            names.push_back(row.text);
    const std::vector<std::string> shortened = shortenedNames(cr, names, textWidth);
    if (rows.empty())
        return;
    const std::size_t columns = legendColumns(rows.size()), perColumn = (rows.size() + columns - 1) / columns;
    std::size_t named = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const LegendRow& row = rows[i];
        const double left = x + legendColumnWidth * (i / perColumn), centre = y + rowHeight * (i % perColumn);
        if (row.line) {
            if (row.group)
                setGroupColour(cr, *row.group, *row.line == LineKind::OwnLight);
            else
                setGrey(cr);
            setLineKind(cr, *row.line);
            cairo_move_to(cr, left, centre);
            cairo_line_to(cr, left + sample, centre);
            cairo_stroke(cr);
        }
        if (row.group) {
            setGroupColour(cr, *row.group);
            marker(cr, *row.group, left + sample / 2, centre, sampleMarker);
        }
        cairo_set_source_rgb(cr, 0, 0, 0);
        showText(cr, row.group ? shortened[named++] : fitted(cr, row.text, textWidth), left + textOffset, centre, 0,
                 true);
    }
}

} // namespace korvel
