#include "report/comparison_block.h"

#include <iomanip>

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

void writeCommonSlopeLines(std::ostream& out, const GroupMap& groups, const LinesAtCommonSlope& lines,
                           const LinesLayout& layout)
{
    const double B = lines.B;
    const GrandMeans gm = grandMeans(groups, lines);
    out << std::fixed << "Common slope:\t" << std::setprecision(layout.slopeDecimals) << B << "\t" << "Grand mean X:"
        << "\t" << std::setprecision(3) << gm.X << "\t" << "Grand mean Y:" << "\t" << gm.Y << "\t"
        << "Grand mean F:" << "\t" << gm.F << "\t" << "Grand mean R:" << "\t" << gm.R << std::endl;
    out << std::left << std::setw(layout.groupWidth) << "\nGroup" << "\tn\tR2\t";
    for (const char* label : {"Interc", "YgrandX", "XgrandY", "Ymean", "Xmean", "Fmean", "Rmean"})
        out << std::setw(columnWidth) << label << "\t";
    out << std::endl;
    for (const auto& entry : groups) {
        const Group& g = entry.second;
        const LineAtCommonSlope& line = lines.of(entry.first);
        writePadded(out, entry.first, layout.groupWidth);
        out << "\t" << g.n << "\t" << std::setprecision(3) << g.R2;
        for (double v : {line.interc, yOnLine(line, B, gm.X), xOnLine(line, B, gm.Y), g.Ymean, g.Xmean, line.fittedMean,
                         line.residMean})
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

void writeWaldValues(std::ostream& s, const WaldResult& r, int decimals)
{
    s << std::left << std::fixed << r.k << "\t" << std::setprecision(decimals) << std::setw(columnWidth) << r.W << "\t"
      << std::setw(columnWidth) << r.p << "\t";
}
} // namespace

void writeWaldResult(std::ostream& report, std::ostream& console, const WaldResult& r)
{
    report << " using WALD statistic" << std::endl;
    console << " using WALD statistic" << std::endl;
    report << "df\tstat\tp\tA_com" << std::endl;
    console << "df\tstat\tp\tA_com" << std::endl;
    writeWaldValues(report, r, 3);
    writeWaldValues(console, r, 4);
    if (r.hasAcom) {
        report << r.Acom;
        console << r.Acom;
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

void writeTransformedData(std::ostream& file, const GroupMap& groups, const LinesAtCommonSlope& lines)
{
    file << "Group\tY\tX\tR\tF" << std::endl;
    for (const auto& entry : groups) {
        const Group& g = entry.second;
        const AxisScores& scores = lines.of(entry.first).scores;
        for (std::size_t i = g.X.size(); i-- > 0;)
            file << entry.first << "\t" << g.Y[i] << "\t" << g.X[i] << "\t" << scores.residual[i] << "\t"
                 << scores.fitted[i] << std::endl;
    }
}

void writeTransformedNote(std::ostream& out, const Estimator& estimator, double B, const std::string& fileName)
{
    out << "\nData transformed" << "as R=" << Estimator::residualScoreText() << ", F= " << estimator.fittedScoreText()
        << " for B= " << B << "\nTransformed data saved to file " << fileName << std::endl;
}

} // namespace korvel
