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

void writeValues(std::ostream& s, const CommonSlopeResult& r, int slopeWidth, int precision,
                 std::optional<double> slopeH0)
{
    s << "\n" << std::setprecision(0) << std::setw(columnWidth) << r.groups << "\t" << std::setw(columnWidth)
      << r.points << "\t" << std::setprecision(precision) << std::setw(slopeWidth) << r.b << "\t";
    if (!r.common)
        return;
    s << std::setw(slopeWidth) << r.low << "\t" << std::setw(slopeWidth) << r.upp << "\t";
    if (slopeH0)
        s << std::setw(slopeWidth) << *slopeH0 << "\t" << std::setprecision(3) << std::setw(columnWidth) << r.T0 << "\t"
          << std::setw(columnWidth) << r.p0;
}

void writeStatistic(std::ostream& s, const CommonSlopeResult& r, int precision, int pDigits)
{
    s << std::left << std::setprecision(precision) << "\nTest statistic:\t" << r.T << "\tp =\t"
      << std::setprecision(pDigits) << r.p << std::setprecision(precision) << std::endl;
}
} // namespace

void writeCommonSlopeResult(std::ostream& report, std::ostream& console, const CommonSlopeResult& r,
                            const LinesLayout& layout, std::optional<double> slopeH0, int iterations)
{
    const int D = pvalueDigits(iterations);
    const bool withH0 = slopeH0 && r.common;
    writeHeader(report, layout.slopeWidth, withH0);
    writeHeader(console, layout.slopeWidth, withH0);
    writeValues(report, r, layout.slopeWidth, layout.slopeDecimals, slopeH0);
    writeValues(console, r, layout.slopeWidth, layout.slopeDecimals + 1, slopeH0);
    report << std::endl;
    console << std::endl;
    writeStatistic(report, r, 3, D);
    writeStatistic(console, r, 4, D + 1);
}

} // namespace korvel
