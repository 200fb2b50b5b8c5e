#include "report/pair_tables.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <iomanip>
#include <string>
#include <vector>

#include "report/significance_matrix.h"
#include "report/text_columns.h"
#include "report/ranking.h"
#include "stats/p_adjustment.h"

namespace korvel {

namespace {
// A square table, left-justified: the header ("Group" in nameWidth, then each
// name padded to cellWidth, each followed by a tab), then one row per group
// (its name padded to nameWidth, a tab, then cell(row, column) for every
// column, each cell writing its own text and separator).
void writePairTable(std::ostream& out, const std::vector<std::string>& names, int nameWidth, int cellWidth,
                    const std::function<void(int, int)>& cell)
{
    out << std::left << std::setw(nameWidth) << "Group" << "\t";
    for (const std::string& name : names) {
        writePadded(out, name, cellWidth);
        out << "\t";
    }
    out << std::endl;
    const int g = static_cast<int>(names.size());
    for (int r = 0; r < g; ++r) {
        writePadded(out, names[static_cast<std::size_t>(r)], nameWidth);
        out << "\t";
        for (int c = 0; c < g; ++c)
            cell(r, c);
        out << std::endl;
    }
}

// The "p-values only" table: every cell in a fixed-point field of nameWidth,
// 1.0 with one decimal on the diagonal and the pair's p-value with decimals
// elsewhere, each followed by a tab.
void writePvalueTable(std::ostream& out, const std::vector<std::string>& names, int nameWidth, int decimals,
                      const std::function<double(int, int)>& pairP)
{
    out << "\np-values only\n";
    writePairTable(out, names, nameWidth, nameWidth, [&](int r, int c) {
        out << std::fixed << std::setw(nameWidth);
        if (c == r)
            out << std::setprecision(1) << 1.0;
        else
            out << std::setprecision(decimals) << pairP(r, c);
        out << "\t";
    });
}
// The line that says how the table's p-values were adjusted, when they were.
void writeAdjustment(std::ostream& out, const std::vector<double>& p, PAdjustment adjustment)
{
    if (adjustment != PAdjustment::None)
        out << "P-values adjusted for " << comparisonCount(p) << " comparisons (" << namesOf(adjustmentNames, adjustment).option << ")\n";
}
} // namespace

void writeSlopeComparisonsNotRun(std::ostream& report, std::ostream& console)
{
    report << "\nNo post hoc comparisons between groups" << std::endl;
    console << "\nNo post hoc comparisons between groups" << std::endl;
}

void writeSlopeComparisonsStart(std::ostream& report, std::ostream& console, int groups)
{
    report << "\nPOST-HOC MULTIPLE COMPARISON OF SLOPES AMONG GROUPS" << std::endl;
    const double pairs = (static_cast<double>(groups) * groups - groups) / 2;
    console << "\nRunning permutation tests for " << std::setprecision(0) << static_cast<int>(pairs)
            << std::setprecision(3) << " comparisons\nCount - ";
}

namespace {
// The p-value a table shows of a pair: adjusted, when the table's are.
template <typename Pair>
double shownP(const Pair& pair)
{
    return pair.adjustedP.value_or(pair.p);
}

template <typename Pair>
std::vector<std::string> namesOf(const PairTable<Pair>& table)
{
    std::vector<std::string> names;
    for (int i = 0; i < table.groups(); ++i)
        names.push_back(table.name(i));
    return names;
}
} // namespace

void writeSlopeComparisons(std::ostream& out, const std::vector<GroupLine>& lines, const PairTable<SlopePair>& table,
                           const LinesLayout& layout, int pDigits, double criticalP, PAdjustment adjustment)
{
    const std::vector<std::string> names = namesOf(table);
    const auto pairP = [&table](int i, int j) { return shownP(table.get(i, j)); };
    writeAdjustment(out, pairPvalues(table), adjustment);
    out << "Common slope, test stat, p-value\n";
    writePairTable(out, names, layout.groupWidth, pDigits + 18, [&](int r, int c) {
        if (c == r) {
            out << "(" << std::setw(pDigits + 16) << std::setprecision(1) << 1.0;
        } else {
            const SlopePair& pr = table.get(r, c);
            // A pair whose common slope did not settle shows 0 as its slope.
            out << std::fixed << std::setprecision(3) << "(" << std::setw(6) << pr.slope.value_or(0) << ","
                << std::setw(6) << pr.statistic << "," << std::setprecision(pDigits) << shownP(pr);
        }
        out << ")\t";
    });
    writePvalueTable(out, names, layout.groupWidth, pDigits, pairP);
    std::vector<RankedGroup> bySlope;
    for (const GroupLine& line : lines)
        bySlope.push_back({line.slope, static_cast<int>(bySlope.size()), line.group, line.n});
    writeSignificanceMatrix(out, criticalP, "slope", rankGroups(bySlope), layout.groupWidth, pairP);
}

void writeShiftComparisons(std::ostream& out, const LinesWithCommonSlope& lines, const PairTable<ShiftPair>& table,
                           ScoreAxis axis, double criticalP, PAdjustment adjustment)
{
    const std::vector<std::string> names = namesOf(table);
    int nameWidth = columnWidth;
    for (const std::string& name : names)
        nameWidth = std::max(nameWidth, static_cast<int>(name.size()));
    const auto pairP = [&table](int i, int j) { return shownP(table.get(i, j)); };
    writeAdjustment(out, pairPvalues(table), adjustment);
    out << "Difference, standard error, df, p-value\n";
    writePairTable(out, names, nameWidth, 25, [&](int r, int c) {
        out << std::fixed << "(";
        if (c == r) {
            out << std::setprecision(1) << std::setw(23) << 1.0;
        } else {
            const ShiftPair& pr = table.get(r, c); // its difference's size, whichever group is above
            out << std::setprecision(3) << std::setw(6) << std::fabs(pr.difference) << "," << std::setw(6)
                << pr.standardError << "," << std::setprecision(0) << std::setw(3) << pr.df << ","
                << std::setprecision(3) << shownP(pr);
        }
        out << ")\t";
    });
    writePvalueTable(out, names, nameWidth, 4, pairP);
    std::vector<RankedGroup> byMean;
    for (const LineWithCommonSlope& line : lines.groups)
        byMean.push_back({axis == ScoreAxis::Residual ? line.residualMean : line.fittedMean,
                          static_cast<int>(byMean.size()), line.group, line.n});
    writeSignificanceMatrix(out, criticalP, "mean", rankGroups(byMean), nameWidth, pairP);
}

} // namespace korvel
