// One analysis of the loaded data, from the grouping to the last comparison:
// below both front ends, it writes the report as it goes, asks its questions
// through AnalysisChoices and returns what it found.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "analysis/analysis_choices.h"
#include "data/grouping.h"
#include "data/loaded_data.h"
#include "data/settings.h"
#include "stats/common_slope_test.h"
#include "stats/events.h"
#include "stats/group.h"
#include "stats/lines_with_common_slope.h"
#include "stats/slope_comparisons.h"
#include "stats/wald.h"

// Where an analysis writes: the report, the console's tables and notes, and
// its messages (warnings and the computation's events).
struct AnalysisStreams {
    std::ostream& report;
    std::ostream& console;
    std::ostream& messages;
    AnalysisEvents& events;
    std::string reportName; // the report's file name, never the transformed-data file's
};

// A Wald test of the lines with the common slope, with its pairs when they
// were compared.
struct ShiftTest {
    ScoreAxis axis = ScoreAxis::Residual;
    WaldResult wald;
    std::optional<PairTable<ShiftPair>> pairs;
};

// What an analysis found, in the order it found it.
struct AnalysisResults {
    int linesLeftOut = 0, notNumbers = 0, notPositive = 0; // of the grouping (GroupedLines)
    std::vector<std::pair<std::string, int>> smallGroups;  // removed, with their sizes
    std::vector<std::string> invariantGroups;              // removed: Y or X does not vary
    std::vector<std::string> errorGroups;                  // removed: measurement error too large
    ErrorVariances errors;
    GroupMap groups;                                       // the fitted lines
    std::optional<CommonSlopeResult> commonSlopeTest;      // with at least two groups
    std::optional<PairTable<SlopePair>> slopePairs;        // when compared
    std::optional<LinesAtCommonSlope> linesAtCommonSlope;  // when the lines were compared
    std::vector<ShiftTest> shiftTests;                     // in the order run
};

// Groups, fits and tests the data, writes the report and asks choices where
// the analysis branches. FileNotOpened when the transformed-data file cannot
// be opened.
AnalysisResults runAnalysis(const AnalysisSettings& settings, const LoadedData& data, AnalysisChoices& choices,
                            AnalysisStreams& streams);
