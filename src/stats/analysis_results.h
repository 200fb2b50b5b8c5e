// What one analysis found, as values: what the front ends, the plots and the
// results file read once the report is written.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "stats/common_slope_test.h"
#include "stats/group.h"
#include "stats/lines_with_common_slope.h"
#include "stats/slope_comparisons.h"
#include "stats/wald.h"

namespace korvel {

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
    std::vector<std::string> noFreedomGroups;              // removed: no residual degree of freedom
    std::vector<std::string> errorGroups;                  // removed: measurement error too large
    ErrorVariances errors;
    GroupMap groups;                                       // the fitted lines
    std::optional<CommonSlopeResult> commonSlopeTest;      // with at least two groups
    std::optional<PairTable<SlopePair>> slopePairs;        // when compared
    std::optional<LinesAtCommonSlope> linesAtCommonSlope;  // when the lines were compared
    std::vector<ShiftTest> shiftTests;                     // in the order run
};

} // namespace korvel
