#include "analysis/analysis_run.h"

#include <fstream>

#include "data/output_file.h"
#include "report/common_slope_block.h"
#include "report/comparison_block.h"
#include "report/console_messages.h"
#include "report/lines_table.h"
#include "report/pair_tables.h"
#include "report/plain_nan.h"
#include "report/summary_block.h"
#include "stats/common_slope_test.h"
#include "stats/line_fits.h"
#include "stats/lines_with_common_slope.h"
#include "stats/measurement_error.h"
#include "stats/p_adjustment.h"

namespace korvel {

namespace {
// One analysis: what it was given and what it found so far.
struct AnalysisData {
    const AnalysisSettings& settings;
    const LoadedData& data;
    AnalysisResults found;
    ErrorVariances& errors = found.errors;
    GroupMap& groups = found.groups;
    int nameWidth = columnWidth; // the longest group name met by the grouping, removed groups included
};

Estimator estimatorOf(const AnalysisSettings& settings)
{
    return Estimator(settings.method, settings.intercept);
}

LinesLayout layoutOf(const AnalysisData& a)
{
    return linesLayout(a.groups, a.nameWidth);
}

// The dialogue around it: the answers where it branches and where it writes.
struct AnalysisDialogue {
    AnalysisChoices& choices;
    AnalysisStreams& out;
    RandomStream& random;
};

// Groups the lines, writes the data-summary block, asks for the error
// variances and removes the groups they leave no line.
void prepareGroups(AnalysisData& a, AnalysisDialogue& d)
{
    GroupedLines grouped = groupLines(a.data, a.settings.transform);
    a.found.linesLeftOut = grouped.rejected;
    a.found.notNumbers = grouped.notNumbers;
    a.found.notPositive = grouped.notPositive;
    writeLeftOutWarnings(d.out.messages, grouped);
    writeSummaryHead(d.out.report, a.settings, a.data);
    writeLeftOut(d.out.report, grouped.rejected, a.settings.minGroupSize);
    a.found.smallGroups = removeSmallGroups(grouped.groups, a.settings.minGroupSize);
    for (const auto& [name, n] : a.found.smallGroups) {
        writeSmallGroupErased(d.out.messages, name, n);
        writeRemovedName(d.out.report, name);
    }
    for (auto& entry : grouped.groups)
        transformPoints(entry.second, a.settings.transform);
    a.found.invariantGroups = removeGroupsWithoutVariation(grouped.groups, a.settings.intercept);
    for (const std::string& name : a.found.invariantGroups)
        writeInvariantGroupErased(d.out.messages, name);
    writeRemovedInvariant(d.out.report, a.found.invariantGroups);
    a.groups = groupsOf(std::move(grouped.groups));
    a.nameWidth = grouped.nameWidth;
    a.found.noFreedomGroups = removeGroupsWithoutResidualFreedom(estimatorOf(a.settings), a.groups);
    for (const std::string& name : a.found.noFreedomGroups)
        writeNoFreedomGroupErased(d.out.messages, name);
    writeRemovedNoFreedom(d.out.report, a.found.noFreedomGroups);
    long long points = 0;
    for (const auto& entry : a.groups)
        points += entry.second.n;
    writeCounts(d.out.report, a.groups.size(), points);
    if (a.settings.measurementError) {
        a.errors.x = d.choices.errorVariance(a.settings.transform, a.data.x.name);
        a.errors.y = d.choices.errorVariance(a.settings.transform, a.data.y.name);
    }
    writeMeasurementError(d.out.report, a.settings, a.data, a.errors);
    if (!a.settings.measurementError)
        return;
    a.found.errorGroups = removeGroupsBeyondError(a.groups, a.settings.intercept, a.errors);
    for (const std::string& name : a.found.errorGroups)
        writeErrorGroupErased(d.out.messages, name);
    writeRemovedForError(d.out.report, a.found.errorGroups);
}

void fitIndividualLines(AnalysisData& a, AnalysisDialogue& d)
{
    fitLines(estimatorOf(a.settings), a.errors, a.groups);
    fitLimits(estimatorOf(a.settings), a.groups, a.settings.confidence);
    writeLinesTable(d.out.report, layoutOf(a), a.groups, a.settings, estimatorOf(a.settings));
    d.out.report << std::endl;
}

void compareSlopes(AnalysisData& a, AnalysisDialogue& d)
{
    if (!d.choices.compareSlopes()) {
        writeSlopeComparisonsNotRun(d.out.report, d.out.console);
        return;
    }
    writeSlopeComparisonsStart(d.out.report, d.out.console, static_cast<int>(a.groups.size()));
    auto table = compareSlopes(estimatorOf(a.settings), a.errors, a.groups, a.settings, d.out.events, d.random);
    adjustPairs(table, a.settings.adjustment);
    d.out.console << std::endl;
    writeSlopeComparisons(d.out.report, a.groups, table, layoutOf(a), pvalueDigits(a.settings.iterations),
                          a.settings.criticalP, a.settings.adjustment);
    a.found.slopePairs = std::move(table);
}

void saveTransformed(AnalysisData& a, AnalysisDialogue& d, const LinesAtCommonSlope& lines)
{
    const std::string name = d.choices.transformedFileName(a.data.filename, d.out.reportName);
    std::ofstream file;
    writeNaNPlainly(file);
    if (!d.out.savedScores)
        openForWriting(file, name);
    writeTransformedData(d.out.savedScores ? *d.out.savedScores : file, a.groups, lines);
    file.close();
    writeTransformedNote(d.out.report, estimatorOf(a.settings), lines.B, name);
}

// The Wald test of elevation or shift, with its pairs when it is significant.
void testShift(AnalysisData& a, AnalysisDialogue& d, ScoreAxis axis, const LinesAtCommonSlope& lines)
{
    writeShiftAnnouncement(d.out.report, d.out.console, axis);
    ShiftTest& test = a.found.shiftTests.emplace_back();
    test.axis = axis;
    test.wald = waldTest(estimatorOf(a.settings), a.groups, lines, axis, a.errors, a.settings.criticalP);
    writeWaldResult(d.out.report, d.out.console, test.wald);
    if (!(test.wald.p < a.settings.criticalP)) {
        writeShiftNotSignificant(d.out.report, d.out.console, axis);
        return;
    }
    writeShiftSignificant(d.out.report, d.out.console, axis);
    if (!d.choices.compareShiftPairs()) {
        writeShiftPairsNotRun(d.out.report);
        return;
    }
    writeShiftPairsRun(d.out.report, d.out.console, axis);
    auto table = compareShifts(estimatorOf(a.settings), a.groups, lines, axis, a.errors, a.settings.criticalP);
    adjustPairs(table, a.settings.adjustment);
    writeShiftComparisons(d.out.report, a.groups, lines, table, axis, a.settings.criticalP, a.settings.adjustment);
    test.pairs = std::move(table);
}

// The lines at the common slope B and the actions on them, until exit, when
// they are compared.
void compareLines(AnalysisData& a, AnalysisDialogue& d, double B)
{
    if (!d.choices.compareLines()) {
        writeLinesNotCompared(d.out.report, d.out.console);
        return;
    }
    writeLinesTitle(d.out.report);
    const LinesAtCommonSlope& lines =
        a.found.linesAtCommonSlope.emplace(linesAtCommonSlope(estimatorOf(a.settings), a.groups, B));
    writeCommonSlopeLines(d.out.report, a.groups, lines, layoutOf(a));
    for (;;) {
        switch (d.choices.nextAction(a.settings.intercept)) {
        case LinesAction::Exit:
            return;
        case LinesAction::Save:
            saveTransformed(a, d, lines);
            break;
        case LinesAction::Elevation:
            if (a.settings.intercept)
                testShift(a, d, ScoreAxis::Residual, lines);
            else
                writeNoElevationThroughOrigin(d.out.console);
            break;
        case LinesAction::Shift:
            testShift(a, d, ScoreAxis::Fitted, lines);
            break;
        case LinesAction::Other:
            break;
        }
    }
}

// The test for a common slope, then the comparisons it calls for.
void testAndCompare(AnalysisData& a, AnalysisDialogue& d)
{
    if (a.groups.size() == 1) {
        writeSingleGroup(d.out.report, d.out.console);
        return;
    }
    if (a.groups.empty()) {
        writeNoGroups(d.out.report, d.out.console);
        return;
    }
    writeCommonSlopeTitle(d.out.report, d.out.console);
    const CommonSlopeResult& r = a.found.commonSlopeTest.emplace(
        testCommonSlope(estimatorOf(a.settings), a.errors, a.groups, a.settings, d.out.events, d.random));
    writeCommonSlopeResult(d.out.report, d.out.console, r, layoutOf(a), a.settings.slopeH0, a.settings.iterations);
    if (r.common)
        compareLines(a, d, r.b);
    else
        compareSlopes(a, d);
}
} // namespace

AnalysisResults runAnalysis(const AnalysisSettings& settings, const LoadedData& data, AnalysisChoices& choices,
                            AnalysisStreams& streams, RandomStream& random)
{
    AnalysisData a{settings, data, {}};
    AnalysisDialogue d{choices, streams, random};
    prepareGroups(a, d);
    fitIndividualLines(a, d);
    testAndCompare(a, d);
    return std::move(a.found);
}

} // namespace korvel
