#include "analysis/analysis_run.h"

#include <fstream>

#include "data/output_file.h"
#include "korvel/engine.h"
#include "report/common_slope_block.h"
#include "report/comparison_block.h"
#include "report/console_messages.h"
#include "report/lines_table.h"
#include "report/pair_tables.h"
#include "report/plain_nan.h"
#include "report/summary_block.h"

namespace korvel {

namespace {
// One analysis: what it was given and what it found so far.
struct AnalysisData {
    const AnalysisSettings& settings;
    Analysis found;
    LinesLayout layout; // of the lines table, which the tables after it share
};

// The dialogue around it: the answers where it branches and where it writes.
struct AnalysisDialogue {
    AnalysisChoices& choices;
    AnalysisStreams& out;
    RandomStream& random;
};

// The names of the groups removed for the reason.
std::vector<std::string> removedFor(const std::vector<RemovedGroup>& removed, RemovalReason reason)
{
    std::vector<std::string> names;
    for (const RemovedGroup& group : removed)
        if (group.reason == reason)
            names.push_back(group.group);
    return names;
}

// Groups the lines and writes the data-summary block, asks for the error
// variances, then fits the lines (the groups the variances leave no line
// removed first) and writes their table.
void fitGroups(AnalysisData& a, AnalysisDialogue& d)
{
    const Data& data = a.found.data;
    GroupedData grouped = groupData(data, a.settings);
    writeLeftOutWarnings(d.out.messages, grouped.leftOut);
    writeSummaryHead(d.out.report, a.settings, data);
    writeLeftOut(d.out.report, grouped.leftOut.total, a.settings.minGroupSize);
    for (const RemovedGroup& group : grouped.removed)
        if (group.reason == RemovalReason::FewerPoints) {
            writeSmallGroupErased(d.out.messages, group.group, group.n);
            writeRemovedName(d.out.report, group.group);
        }
    const std::vector<std::string> invariant = removedFor(grouped.removed, RemovalReason::NoVariation);
    for (const std::string& name : invariant)
        writeInvariantGroupErased(d.out.messages, name);
    writeRemovedInvariant(d.out.report, invariant);
    const std::vector<std::string> noFreedom = removedFor(grouped.removed, RemovalReason::NoResidualFreedom);
    for (const std::string& name : noFreedom)
        writeNoFreedomGroupErased(d.out.messages, name);
    writeRemovedNoFreedom(d.out.report, noFreedom);
    writeCounts(d.out.report, grouped.groups.size(), grouped.points);
    ErrorVariances errors;
    if (a.settings.measurementError) {
        errors.x = d.choices.errorVariance(a.settings.transform, data.xName());
        errors.y = d.choices.errorVariance(a.settings.transform, data.yName());
    }
    writeMeasurementError(d.out.report, a.settings, data, errors);
    const Fit& fit = a.found.fit = korvel::fitGroups(std::move(grouped), errors);
    if (a.settings.measurementError) {
        const std::vector<std::string> beyondError = removedFor(fit.removed, RemovalReason::MeasurementError);
        for (const std::string& name : beyondError)
            writeErrorGroupErased(d.out.messages, name);
        writeRemovedForError(d.out.report, beyondError);
    }
    a.layout = linesLayout(fit.lines, groupColumnWidth(fit.lines, fit.removed));
    writeLinesTable(d.out.report, a.layout, fit.lines, a.settings);
    d.out.report << std::endl;
}

void compareSlopes(AnalysisData& a, AnalysisDialogue& d, const CommonSlopeTest& test)
{
    if (!d.choices.compareSlopes()) {
        writeSlopeComparisonsNotRun(d.out.report, d.out.console);
        return;
    }
    writeSlopeComparisonsStart(d.out.report, d.out.console, test.groups);
    const PairTable<SlopePair>& table = a.found.slopePairs.emplace(
        korvel::compareSlopes(a.found.fit, test, a.settings.adjustment, d.random, d.out.events));
    d.out.console << std::endl;
    writeSlopeComparisons(d.out.report, a.found.fit.lines, table, a.layout, pvalueDigits(a.settings.iterations),
                          a.settings.criticalP, a.settings.adjustment);
}

void saveTransformed(AnalysisData& a, AnalysisDialogue& d, const LinesWithCommonSlope& lines)
{
    const std::string name = d.choices.transformedFileName(a.found.data.source(), d.out.reportName);
    std::ofstream file;
    writeNaNPlainly(file);
    if (!d.out.savedScores)
        openForWriting(file, name);
    writeTransformedData(d.out.savedScores ? *d.out.savedScores : file, a.found.fit, lines);
    file.close();
    writeTransformedNote(d.out.report, a.settings.method, lines.slope, name);
}

// The Wald test of elevation or shift, with its pairs when it is significant.
void testShift(AnalysisData& a, AnalysisDialogue& d, ScoreAxis axis, const LinesWithCommonSlope& lines)
{
    writeShiftAnnouncement(d.out.report, d.out.console, axis);
    WaldTest& test = a.found.waldTests.emplace_back(
        korvel::testShift(a.found.fit, lines, axis, a.settings.criticalP, false));
    writeWaldResult(d.out.report, d.out.console, test);
    if (!(test.p < a.settings.criticalP)) {
        writeShiftNotSignificant(d.out.report, d.out.console, axis);
        return;
    }
    writeShiftSignificant(d.out.report, d.out.console, axis);
    if (!d.choices.compareShiftPairs()) {
        writeShiftPairsNotRun(d.out.report);
        return;
    }
    writeShiftPairsRun(d.out.report, d.out.console, axis);
    test.pairs = compareShifts(a.found.fit, lines, axis, a.settings.criticalP, a.settings.adjustment);
    writeShiftComparisons(d.out.report, lines, *test.pairs, axis, a.settings.criticalP, a.settings.adjustment);
}

// The lines with the common slope and the actions on them, until exit, when
// they are compared.
void compareLines(AnalysisData& a, AnalysisDialogue& d, const CommonSlopeTest& test)
{
    if (!d.choices.compareLines()) {
        writeLinesNotCompared(d.out.report, d.out.console);
        return;
    }
    writeLinesTitle(d.out.report);
    const LinesWithCommonSlope& lines = a.found.lines.emplace(linesWithCommonSlope(a.found.fit, test));
    writeCommonSlopeLines(d.out.report, lines, a.layout);
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
    const std::size_t groups = a.found.fit.lines.size();
    if (groups == 1) {
        writeSingleGroup(d.out.report, d.out.console);
        return;
    }
    if (groups == 0) {
        writeNoGroups(d.out.report, d.out.console);
        return;
    }
    writeCommonSlopeTitle(d.out.report, d.out.console);
    const CommonSlopeTest& test = a.found.commonSlope.emplace(testCommonSlope(
        a.found.fit, a.settings.pvalueFrom, a.settings.iterations, a.settings.criticalP, d.random, d.out.events));
    writeCommonSlopeResult(d.out.report, d.out.console, test, a.layout);
    if (test.common)
        compareLines(a, d, test);
    else
        compareSlopes(a, d, test);
}
} // namespace

Analysis runAnalysis(const AnalysisSettings& settings, const Data& data, AnalysisChoices& choices,
                     AnalysisStreams& streams, RandomStream& random)
{
    AnalysisData a{settings, {}, {}};
    a.found.data = data;
    AnalysisDialogue d{choices, streams, random};
    fitGroups(a, d);
    testAndCompare(a, d);
    return std::move(a.found);
}

} // namespace korvel
