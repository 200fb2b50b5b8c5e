#include "dialogue/analysis_run.h"

#include <fstream>

#include "data/grouping.h"
#include "data/errors.h"
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
#include "stats/slope_comparisons.h"
#include "stats/wald.h"

namespace {
// The groups of one analysis and what they were made from.
struct AnalysisData {
    const AnalysisSettings& settings;
    const LoadedData& data;
    ErrorVariances errors;
    GroupMap groups;
    int nameWidth = 7; // the longest group name met by the grouping, removed groups included
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
};

// Groups the lines, writes the data-summary block, asks for the error
// variances and removes the groups they leave no line.
void prepareGroups(AnalysisData& a, AnalysisDialogue& d)
{
    GroupedLines grouped = groupLines(a.data, a.settings.transform);
    writeLeftOutWarnings(d.out.messages, grouped);
    writeSummaryHead(d.out.report, a.settings, a.data);
    writeLeftOut(d.out.report, grouped.rejected, a.settings.minGroupSize);
    for (const auto& [name, n] : removeSmallGroups(grouped.groups, a.settings.minGroupSize)) {
        writeSmallGroupErased(d.out.messages, name, n);
        writeRemovedName(d.out.report, name);
    }
    for (auto& entry : grouped.groups)
        transformPoints(entry.second, a.settings.transform);
    const auto invariant = removeGroupsWithoutVariation(grouped.groups, a.settings.intercept);
    for (const std::string& name : invariant)
        writeInvariantGroupErased(d.out.messages, name);
    writeRemovedInvariant(d.out.report, invariant);
    long long points = 0;
    for (const auto& entry : grouped.groups)
        points += static_cast<long long>(entry.second.X.size());
    a.groups = groupsOf(std::move(grouped.groups));
    a.nameWidth = grouped.nameWidth;
    writeCounts(d.out.report, a.groups.size(), points);
    if (a.settings.measurementError) {
        a.errors.x = d.choices.errorVariance(a.settings.transform, a.data.x.name);
        a.errors.y = d.choices.errorVariance(a.settings.transform, a.data.y.name);
    }
    writeMeasurementError(d.out.report, a.settings, a.data, a.errors);
    if (!a.settings.measurementError)
        return;
    const auto removed = removeGroupsBeyondError(a.groups, a.settings.intercept, a.errors);
    for (const std::string& name : removed)
        writeErrorGroupErased(d.out.messages, name);
    writeRemovedForError(d.out.report, removed);
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
    const auto table = compareSlopes(estimatorOf(a.settings), a.errors, a.groups, a.settings, d.out.events);
    d.out.console << std::endl;
    writeSlopeComparisons(d.out.report, a.groups, table, layoutOf(a), pvalueDigits(a.settings.iterations),
                          a.settings.criticalP);
}

void saveTransformed(AnalysisData& a, AnalysisDialogue& d, const LinesAtCommonSlope& lines)
{
    const std::string name = d.choices.transformedFileName(a.data.filename, d.out.reportName);
    std::ofstream file;
    writeNaNPlainly(file);
    file.open(name, std::ios::out | std::ios::trunc);
    if (!file.is_open())
        throw FileNotOpened(name, systemReason());
    writeTransformedData(file, a.groups, lines);
    file.close();
    writeTransformedNote(d.out.report, estimatorOf(a.settings), lines.B, name);
}

// The Wald test of elevation or shift, with its pairs when it is significant.
void testShift(AnalysisData& a, AnalysisDialogue& d, ScoreAxis axis, const LinesAtCommonSlope& lines)
{
    writeShiftAnnouncement(d.out.report, d.out.console, axis);
    const WaldResult r = waldTest(estimatorOf(a.settings), a.groups, lines, axis, a.errors, a.settings.criticalP);
    writeWaldResult(d.out.report, d.out.console, r);
    if (!(r.p < a.settings.criticalP)) {
        writeShiftNotSignificant(d.out.report, d.out.console, axis);
        return;
    }
    writeShiftSignificant(d.out.report, d.out.console, axis);
    if (!d.choices.compareShiftPairs()) {
        writeShiftPairsNotRun(d.out.report);
        return;
    }
    writeShiftPairsRun(d.out.report, d.out.console, axis);
    const auto table = compareShifts(estimatorOf(a.settings), a.groups, lines, axis, a.errors, a.settings.criticalP);
    writeShiftComparisons(d.out.report, a.groups, lines, table, axis, a.settings.criticalP);
}

// The lines at the common slope B and the actions on them, until exit; false
// when they are not compared.
bool compareLines(AnalysisData& a, AnalysisDialogue& d, double B)
{
    if (!d.choices.compareLines()) {
        writeLinesNotCompared(d.out.report, d.out.console);
        return false;
    }
    writeLinesTitle(d.out.report);
    const LinesAtCommonSlope lines = linesAtCommonSlope(estimatorOf(a.settings), a.groups, B);
    writeCommonSlopeLines(d.out.report, a.groups, lines, layoutOf(a));
    for (;;) {
        switch (d.choices.nextAction(a.settings.intercept)) {
        case LinesAction::Exit:
            return true;
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

// The test for a common slope, then the comparisons it calls for; the common
// slope when the lines sharing it were compared.
std::optional<double> testAndCompare(AnalysisData& a, AnalysisDialogue& d)
{
    if (a.groups.size() == 1) {
        writeSingleGroup(d.out.report, d.out.console);
        return std::nullopt;
    }
    if (a.groups.empty()) {
        writeNoGroups(d.out.report, d.out.console);
        return std::nullopt;
    }
    writeCommonSlopeTitle(d.out.report, d.out.console);
    const CommonSlopeResult r = testCommonSlope(estimatorOf(a.settings), a.errors, a.groups, a.settings, d.out.events);
    writeCommonSlopeResult(d.out.report, d.out.console, r, layoutOf(a), a.settings.slopeH0, a.settings.iterations);
    if (r.common)
        return compareLines(a, d, r.b) ? std::optional<double>(r.b) : std::nullopt;
    compareSlopes(a, d);
    return std::nullopt;
}
} // namespace

AnalysisOutcome runAnalysis(const AnalysisSettings& settings, const LoadedData& data, AnalysisChoices& choices,
                            AnalysisStreams& streams)
{
    AnalysisData a{settings, data, {}, {}};
    AnalysisDialogue d{choices, streams};
    prepareGroups(a, d);
    fitIndividualLines(a, d);
    const std::optional<double> commonSlope = testAndCompare(a, d);
    return {std::move(a.groups), commonSlope};
}
