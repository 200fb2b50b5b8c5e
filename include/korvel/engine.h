// The engine's calls: each fits or tests and returns a value (results.h); the
// report, the results file and the figures are written from these values.
// Calls that take long (the resampling) tell a progress how far they have
// come, and end with Interrupted when it throws that.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "korvel/data.h"
#include "korvel/events.h"
#include "korvel/progress.h"
#include "korvel/random_stream.h"
#include "korvel/results.h"
#include "korvel/settings.h"

namespace korvel {

// The data grouped for an analysis: the lines left out, the groups removed
// before any fit (too few points, Y or X that does not vary, no residual
// degree of freedom) and the groups kept. The second half of a fit
// (fitGroups) takes it with the measurement-error variances, which the
// dialogue asks for once it has shown these.
struct GroupedData {
    AnalysisSettings settings;
    LinesLeftOut leftOut;
    std::vector<RemovedGroup> removed;
    std::vector<std::string> groups; // kept, by name
    long long points = 0;            // of the groups kept
    std::shared_ptr<FittedGroups> kept;
};
GroupedData groupData(const Data& data, const AnalysisSettings& settings);

// Removes the groups that the error variances (when the settings include
// measurement error) leave no line, then fits every group's line with its
// limits and tests.
Fit fitGroups(GroupedData grouped, ErrorVariances errors = {});

// Both: the data grouped and fitted. RequestError when the settings are out
// of their ranges (settingsProblems).
Fit fit(const Data& data, const AnalysisSettings& settings, ErrorVariances errors = {});

// The test for a common slope of the fit's groups (at least two), with the
// p-value from where pvalueFrom says (iterations resamples, drawn from random,
// which runs on), the critical p deciding whether the slopes are common, and
// then the interval and the test of the fit's hypothesised slope.
CommonSlopeTest testCommonSlope(const Fit& fit, PValueFrom pvalueFrom, int iterations, double criticalP,
                                RandomStream& random, AnalysisEvents& events = noEvents());

// Every pair of groups tested for a common slope as the test was (its
// p-values' source and iterations, the stream running on), the p-values
// adjusted for the number of pairs.
PairTable<SlopePair> compareSlopes(const Fit& fit, const CommonSlopeTest& test, PAdjustment adjustment,
                                   RandomStream& random, AnalysisEvents& events = noEvents());

// The lines of the groups with the common slope of the test.
LinesWithCommonSlope linesWithCommonSlope(const Fit& fit, const CommonSlopeTest& test);

// The Wald test among all groups of the lines with the common slope for a
// shift in elevation (residual axis; lines with an intercept only) or along
// the slope (fitted axis), with its pairs (compareShifts) when pairs.
WaldTest testShift(const Fit& fit, const LinesWithCommonSlope& lines, ScoreAxis axis, double criticalP, bool pairs,
                   PAdjustment adjustment = PAdjustment::None);

// Every pair of groups compared by the Wald test of the two alone, the
// p-values adjusted for the number of pairs.
PairTable<ShiftPair> compareShifts(const Fit& fit, const LinesWithCommonSlope& lines, ScoreAxis axis, double criticalP,
                                   PAdjustment adjustment = PAdjustment::None);

// Every group's points' scores: at the common slope when there is one, at the
// group's own slope otherwise; in the order of the fit's lines.
std::vector<GroupScores> axisScores(const Fit& fit, std::optional<double> commonSlope);

// The scores as the report names them: "Y-Bx", and "X", "Y+BX" or "BY+X".
const char* residualScoreText();
const char* fittedScoreText(Method method);

} // namespace korvel
