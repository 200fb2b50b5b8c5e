// The test calls: the common slope, the pairs of slopes, the lines with the
// common slope and the Wald tests, on what a fit holds.
#include "engine/fitted_groups.h"
#include "engine/numerical_errors.h"
#include "korvel/engine.h"
#include "stats/common_slope.h"
#include "stats/lines_with_common_slope.h"
#include "stats/p_adjustment.h"
#include "stats/shift_comparisons.h"
#include "stats/slope_comparisons.h"
#include "stats/wald.h"

namespace korvel {

namespace {
class NoEvents : public AnalysisEvents {
public:
    void commonSlopeDidNotSettle(const std::vector<std::string>&, double, double) override {}
    void slopesDidNotConverge(double, double) override {}
    void resamplingStopped(long long, long long) override {}
    void pairSlopeDidNotConverge(const std::string&, const std::string&) override {}
    void pairCompared(int) override {}
};

// The fit's settings with the test's p-values.
AnalysisSettings testSettings(const Fit& fit, PValueFrom pvalueFrom, int iterations, double criticalP)
{
    AnalysisSettings s = fit.settings;
    s.pvalueFrom = pvalueFrom;
    s.iterations = iterations;
    s.criticalP = criticalP;
    return s;
}
} // namespace

AnalysisEvents& noEvents()
{
    static NoEvents none;
    return none;
}

CommonSlopeTest testCommonSlope(const Fit& fit, PValueFrom pvalueFrom, int iterations, double criticalP,
                                RandomStream& random, AnalysisEvents& events)
{
    quietNumericalErrors();
    return korvel::testCommonSlope(estimatorOf(fit.settings), fit.errors, groupsOf(fit),
                                   testSettings(fit, pvalueFrom, iterations, criticalP), events, random);
}

PairTable<SlopePair> compareSlopes(const Fit& fit, const CommonSlopeTest& test, PAdjustment adjustment,
                                   RandomStream& random, AnalysisEvents& events)
{
    quietNumericalErrors();
    const AnalysisSettings s = testSettings(fit, test.pvalueFrom, test.iterations, fit.settings.criticalP);
    PairTable<SlopePair> table = korvel::compareSlopes(estimatorOf(s), fit.errors, groupsOf(fit), s, events, random);
    adjustPairs(table, adjustment);
    return table;
}

LinesWithCommonSlope linesWithCommonSlope(const Fit& fit, const CommonSlopeTest& test)
{
    quietNumericalErrors();
    return linesAtCommonSlope(estimatorOf(fit.settings), groupsOf(fit), test.slope, fit.errors);
}

WaldTest testShift(const Fit& fit, const LinesWithCommonSlope& lines, ScoreAxis axis, double criticalP, bool pairs,
                   PAdjustment adjustment)
{
    quietNumericalErrors();
    WaldTest test = waldTest(estimatorOf(fit.settings), lines, axis, criticalP);
    if (pairs)
        test.pairs = compareShifts(fit, lines, axis, criticalP, adjustment);
    return test;
}

PairTable<ShiftPair> compareShifts(const Fit& fit, const LinesWithCommonSlope& lines, ScoreAxis axis, double criticalP,
                                   PAdjustment adjustment)
{
    quietNumericalErrors();
    PairTable<ShiftPair> table = korvel::compareShifts(estimatorOf(fit.settings), lines, axis, criticalP);
    adjustPairs(table, adjustment);
    return table;
}

} // namespace korvel
