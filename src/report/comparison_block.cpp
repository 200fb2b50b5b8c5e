#include "report/comparison_block.h"

#include <iomanip>

#include "korvel/engine.h"
#include "report/text_columns.h"

namespace korvel {

void writeLinesNotCompared(std::ostream& report, std::ostream& console)
{
    report << "\nComparisons of lines with common slope not run" << std::endl;
    console << "\nComparisons of lines with common slope not run" << std::endl;
}

void writeLinesTitle(std::ostream& report)
{
    report << "\nCOMPARISON OF LINES WITH COMMON SLOPE" << std::endl;
}

void writeCommonSlopeLines(std::ostream& out, const LinesWithCommonSlope& lines, const LinesLayout& layout)
{
    out << std::fixed << "Common slope:\t" << std::setprecision(layout.slopeDecimals) << lines.slope << "\t"
        << "Grand mean X:" << "\t" << std::setprecision(3) << lines.grandX << "\t" << "Grand mean Y:" << "\t"
        << lines.grandY << "\t" << "Grand mean F:" << "\t" << lines.grandFitted << "\t" << "Grand mean R:" << "\t"
        << lines.grandResidual << std::endl;
    out << std::left << std::setw(layout.groupWidth) << "\nGroup" << "\tn\tR2\t";
    for (const char* label : {"Interc", "YgrandX", "XgrandY", "Ymean", "Xmean", "Fmean", "Rmean"})
        out << std::setw(columnWidth) << label << "\t";
    out << std::endl;
    for (const LineWithCommonSlope& line : lines.groups) {
        writePadded(out, line.group, layout.groupWidth);
        out << "\t" << line.n << "\t" << std::setprecision(3) << line.r2;
        for (double v : {line.intercept, line.yAtGrandX, line.xAtGrandY, line.yMean, line.xMean, line.fittedMean,
                         line.residualMean})
            out << "\t" << std::setw(columnWidth) << v;
        out << std::endl;
    }
}

namespace {
// Texts of the two tests of the lines.
struct ShiftTexts {
    const char* announce;
    const char* significant;
    const char* pairsRun;
    const char* notSignificant;
};

const ShiftTexts& textsOf(ScoreAxis axis)
{
    static const ShiftTexts elevation{"\nTesting for shifts in elevation between groups",
                                      "Significant elevation shift between groups!",
                                      "\nRunning post-hoc multiple comparisons", "No elevation shift between groups"};
    static const ShiftTexts shift{"\nTesting for shifts along the common slope", "Significant shift along common slope!",
                                  "Running post-hoc multiple comparisons", "No shift along common slope"};
    return axis == ScoreAxis::Residual ? elevation : shift;
}

void writeWaldValues(std::ostream& s, const WaldTest& t, int decimals)
{
    s << std::left << std::fixed << t.df << "\t" << std::setprecision(decimals) << std::setw(columnWidth)
      << t.statistic << "\t" << std::setw(columnWidth) << t.p << "\t";
}
} // namespace

void writeWaldResult(std::ostream& report, std::ostream& console, const WaldTest& test)
{
    report << " using WALD statistic" << std::endl;
    console << " using WALD statistic" << std::endl;
    report << "df\tstat\tp\tA_com" << std::endl;
    console << "df\tstat\tp\tA_com" << std::endl;
    writeWaldValues(report, test, 3);
    writeWaldValues(console, test, 4);
    if (test.commonValue) {
        report << *test.commonValue;
        console << *test.commonValue;
    } else {
        report << "na";
        console << "na";
    }
    console << std::endl;
    report << std::endl;
}

void writeNoElevationThroughOrigin(std::ostream& console)
{
    console << "Not possible for lines fitted through the origin";
}

void writeShiftAnnouncement(std::ostream& report, std::ostream& console, ScoreAxis axis)
{
    report << textsOf(axis).announce;
    console << textsOf(axis).announce;
}

void writeShiftSignificant(std::ostream& report, std::ostream& console, ScoreAxis axis)
{
    report << textsOf(axis).significant << std::endl;
    console << textsOf(axis).significant;
}

void writeShiftNotSignificant(std::ostream& report, std::ostream& console, ScoreAxis axis)
{
    report << textsOf(axis).notSignificant << std::endl;
    console << textsOf(axis).notSignificant << std::endl;
}

void writeShiftPairsRun(std::ostream& report, std::ostream& console, ScoreAxis axis)
{
    report << textsOf(axis).pairsRun << std::endl;
    console << "processing........" << std::endl;
}

void writeShiftPairsNotRun(std::ostream& report)
{
    report << "No post-hoc multiple comparisons" << std::endl;
}

void writeTransformedData(std::ostream& file, const Fit& fit, const LinesWithCommonSlope& lines)
{
    file << "Group\tY\tX\tR\tF" << std::endl;
    for (std::size_t k = 0; k < lines.groups.size(); ++k) {
        const PointsView points = fit.pointsOf(k);
        const GroupScores& scores = lines.groups[k].scores;
        for (std::size_t i = points.x.size(); i-- > 0;)
            file << lines.groups[k].group << "\t" << points.y[i] << "\t" << points.x[i] << "\t" << scores.residual[i]
                 << "\t" << scores.fitted[i] << std::endl;
    }
}

void writeTransformedNote(std::ostream& out, Method method, double B, const std::string& fileName)
{
    out << "\nData transformed" << "as R=" << residualScoreText() << ", F= " << fittedScoreText(method) << " for B= " << B
        << "\nTransformed data saved to file " << fileName << std::endl;
}

} // namespace korvel
