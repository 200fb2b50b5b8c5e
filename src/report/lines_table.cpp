#include "report/lines_table.h"

#include <algorithm>
#include <cmath>
#include <iomanip>

#include "report/text_columns.h"

namespace korvel {

int printDecimals(int current, double value)
{
    if (!std::isnormal(value)) // 0, or not finite: nothing to count digits of
        return current;
    return std::max(current, static_cast<int>(std::trunc(4 - std::log10(std::fabs(value)))));
}

int groupColumnWidth(const std::vector<GroupLine>& lines, const std::vector<RemovedGroup>& removed)
{
    std::size_t longest = columnWidth;
    for (const GroupLine& line : lines)
        longest = std::max(longest, line.group.size());
    for (const RemovedGroup& group : removed)
        longest = std::max(longest, group.group.size());
    const int width = static_cast<int>(longest);
    return width % 6 == 0 ? width + 1 : width;
}

LinesLayout linesLayout(const std::vector<GroupLine>& lines, int groupWidth)
{
    LinesLayout layout;
    layout.groupWidth = groupWidth;
    for (const GroupLine& line : lines) {
        layout.intercDecimals = printDecimals(layout.intercDecimals, line.intercept);
        layout.slopeDecimals = printDecimals(layout.slopeDecimals, line.slope);
    }
    layout.slopeWidth = std::max(layout.slopeDecimals + 4, columnWidth);
    layout.intercWidth = std::max(layout.intercDecimals + 4, columnWidth);
    return layout;
}

void writeLinesTable(std::ostream& out, const LinesLayout& layout, const std::vector<GroupLine>& lines,
                     const AnalysisSettings& settings)
{
    const bool interceptBlock = settings.interceptH0 && settings.intercept;
    out << "\n" << namesOf(methodNames, settings.method).report << " results\n";
    out << std::left;
    out << std::setw(layout.groupWidth) << "Group" << "\t" << std::setw(columnWidth) << "n" << "\t"
        << std::setw(columnWidth) << "R2" << "\t" << std::setw(columnWidth) << "p" << "\t";
    for (const char* label : {"Slope", "LowCI", "UppCI"})
        out << std::setw(layout.slopeWidth) << label << "\t";
    for (const char* label : {"Interc", "LowCI", "UppCI"})
        out << std::setw(layout.intercWidth) << label << "\t";
    out << std::setw(columnWidth) << "Ymean" << "\t" << std::setw(columnWidth) << "Xmean" << "\t";
    if (settings.slopeH0)
        out << std::setw(layout.slopeWidth) << "H0_b" << "\t" << std::setw(columnWidth) << "F" << "\t"
            << std::setw(columnWidth) << "p" << "\t";
    if (interceptBlock)
        out << std::setw(layout.intercWidth) << "H0_a" << "\t" << std::setw(columnWidth) << "T" << "\t"
            << std::setw(columnWidth) << "p";
    out << std::endl;

    for (const GroupLine& line : lines) {
        writePadded(out, line.group, layout.groupWidth);
        out << "\t" << line.n << "\t";
        out << std::fixed << std::setprecision(3);
        out << std::setw(columnWidth) << line.r2 << "\t" << std::setw(columnWidth) << line.p << "\t";
        out << std::setprecision(layout.slopeDecimals);
        for (double v : {line.slope, line.slopeLow, line.slopeHigh})
            out << std::setw(layout.slopeWidth) << v << "\t";
        out << std::setprecision(layout.intercDecimals);
        for (double v : {line.intercept, line.interceptLow, line.interceptHigh})
            out << std::setw(layout.intercWidth) << v << "\t";
        out << std::setprecision(3) << std::setw(columnWidth) << line.yMean << "\t" << std::setw(columnWidth)
            << line.xMean << "\t";
        if (const auto& t = line.slopeTest)
            out << std::setw(layout.slopeWidth) << t->hypothesis << "\t" << std::setw(columnWidth) << t->statistic
                << "\t" << std::setw(columnWidth) << t->p << "\t";
        if (const auto& t = line.interceptTest)
            out << std::setw(layout.intercWidth) << t->hypothesis << "\t" << std::setw(columnWidth) << t->statistic
                << "\t" << std::setw(columnWidth) << t->p;
        out << std::endl;
    }
}

} // namespace korvel
