#include "report/lines_table.h"

#include <algorithm>
#include <cmath>
#include <iomanip>

#include "report/text_columns.h"
#include "stats/hypothesis_tests.h"

namespace korvel {

int printDecimals(int current, double value)
{
    if (!std::isnormal(value)) // 0, or not finite: nothing to count digits of
        return current;
    return std::max(current, static_cast<int>(std::trunc(4 - std::log10(std::fabs(value)))));
}

LinesLayout linesLayout(const GroupMap& groups, int nameWidth)
{
    LinesLayout layout;
    layout.groupWidth = nameWidth;
    for (const auto& entry : groups) {
        layout.intercDecimals = printDecimals(layout.intercDecimals, entry.second.interc);
        layout.slopeDecimals = printDecimals(layout.slopeDecimals, entry.second.slope);
    }
    layout.slopeWidth = std::max(layout.slopeDecimals + 4, columnWidth);
    layout.intercWidth = std::max(layout.intercDecimals + 4, columnWidth);
    return layout;
}

void writeLinesTable(std::ostream& out, const LinesLayout& layout, const GroupMap& groups,
                     const AnalysisSettings& settings, const Estimator& estimator)
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

    for (const auto& entry : groups) {
        const Group& g = entry.second;
        writePadded(out, entry.first, layout.groupWidth);
        out << "\t" << g.n << "\t";
        out << std::fixed << std::setprecision(3);
        out << std::setw(columnWidth) << g.R2 << "\t" << std::setw(columnWidth) << g.p << "\t";
        out << std::setprecision(layout.slopeDecimals);
        for (double v : {g.slope, g.slopeLowCI, g.slopeUppCI})
            out << std::setw(layout.slopeWidth) << v << "\t";
        out << std::setprecision(layout.intercDecimals);
        for (double v : {g.interc, g.intercLowCI, g.intercUppCI})
            out << std::setw(layout.intercWidth) << v << "\t";
        out << std::setprecision(3) << std::setw(columnWidth) << g.Ymean << "\t" << std::setw(columnWidth) << g.Xmean
            << "\t";
        if (settings.slopeH0) {
            const TestResult t = slopeTest(estimator, g, *settings.slopeH0);
            out << std::setw(layout.slopeWidth) << *settings.slopeH0 << "\t" << std::setw(columnWidth) << t.stat
                << "\t" << std::setw(columnWidth) << t.p << "\t";
        }
        if (interceptBlock) {
            const TestResult t = interceptTest(g, *settings.interceptH0);
            out << std::setw(layout.intercWidth) << *settings.interceptH0 << "\t" << std::setw(columnWidth) << t.stat
                << "\t" << std::setw(columnWidth) << t.p;
        }
        out << std::endl;
    }
}

} // namespace korvel
