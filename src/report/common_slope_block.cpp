#include "report/common_slope_block.h"

#include <cmath>
#include <iomanip>

#include "report/text_columns.h"
#include "stats/resampling.h"

namespace korvel {

int pvalueDigits(int iterations)
{
    return static_cast<int>(std::ceil(std::log10(static_cast<double>(resampleCount(iterations)))));
}

void writeSingleGroup(std::ostream& report, std::ostream& console)
{
    console << "\nSingle group: no test for common slope.\nSee file ouput for line fitted to all data\n" << std::endl;
    report << "Single group: no test for common slope" << std::endl;
}

void writeNoGroups(std::ostream& report, std::ostream& console)
{
    console << "\nNo groups left to test for a common slope." << std::endl;
    report << "No groups: no test for common slope" << std::endl;
}

void writeCommonSlopeTitle(std::ostream& report, std::ostream& console)
{
    report << "TEST FOR COMMON SLOPE ACROSS GROUPS" << std::endl;
    console << "\nTEST FOR COMMON SLOPE ACROSS GROUPS" << std::endl;
}

namespace {
void writeHeader(std::ostream& s, int slopeWidth, bool withH0)
{
    s << std::left << std::setw(columnWidth) << "Grps" << "\t" << std::setw(columnWidth) << "N" << "\t";
    for (const char* label : {"Slope", "LowCI", "UppCI"})
        s << std::setw(slopeWidth) << label << "\t";
    if (withH0)
        s << std::setw(slopeWidth) << "H0_b" << "\t" << std::setw(columnWidth) << "X2" << "\t"
          << std::setw(columnWidth) << "p";
}

void writeValues(std::ostream& s, const CommonSlopeTest& t, int slopeWidth, int precision)
{
    s << "\n" << std::setprecision(0) << std::setw(columnWidth) << t.groups << "\t" << std::setw(columnWidth)
      << t.points << "\t" << std::setprecision(precision) << std::setw(slopeWidth) << t.slope << "\t";
    if (!t.limits)
        return;
    s << std::setw(slopeWidth) << t.limits->low << "\t" << std::setw(slopeWidth) << t.limits->high << "\t";
    if (const auto& h = t.hypothesisedSlope)
        s << std::setw(slopeWidth) << h->hypothesis << "\t" << std::setprecision(3) << std::setw(columnWidth)
          << h->statistic << "\t" << std::setw(columnWidth) << h->p;
}

void writeStatistic(std::ostream& s, const CommonSlopeTest& t, int precision, int pDigits)
{
    s << std::left << std::setprecision(precision) << "\nTest statistic:\t" << t.statistic << "\tp =\t"
      << std::setprecision(pDigits) << t.p << std::setprecision(precision) << std::endl;
}
} // namespace

void writeCommonSlopeResult(std::ostream& report, std::ostream& console, const CommonSlopeTest& test,
                            const LinesLayout& layout)
{
    const int D = pvalueDigits(test.iterations);
    const bool withH0 = test.hypothesisedSlope.has_value();
    writeHeader(report, layout.slopeWidth, withH0);
    writeHeader(console, layout.slopeWidth, withH0);
    writeValues(report, test, layout.slopeWidth, layout.slopeDecimals);
    writeValues(console, test, layout.slopeWidth, layout.slopeDecimals + 1);
    report << std::endl;
    console << std::endl;
    writeStatistic(report, test, 3, D);
    writeStatistic(console, test, 4, D + 1);
}

} // namespace korvel
