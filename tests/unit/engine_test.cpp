// The engine's calls as a program uses them, over many random analyses: the
// properties every result must have whatever the data.
#include <algorithm>
#include <cmath>
#include <random>

#include <gtest/gtest.h>

#include "engine/fitted_groups.h"
#include "korvel/korvel.h"
#include "robust_simulation.h"
#include "stats/common_slope.h"
#include "stats/distributions.h"

using namespace korvel;

namespace {
// Random columns of 2 to 4 groups of 2 to 50 points each: slopes of either
// sign and size, correlation weak to strong.
struct RandomColumns {
    std::vector<double> y, x;
    std::vector<std::int32_t> group;
    ColumnsView view() const
    {
        return {{"y", y.data(), y.size()}, {"x", x.data(), x.size()}, {{"g", group.data(), group.size(), {"A", "B", "C", "D"}}}};
    }
};

RandomColumns randomColumns(std::mt19937& rng)
{
    std::uniform_int_distribution<int> groups(2, 4), size(2, 50);
    std::uniform_real_distribution<double> unit(0, 1);
    std::normal_distribution<double> normal;
    const double slope = (unit(rng) < 0.5 ? -1 : 1) * std::pow(10.0, 2 * unit(rng) - 1);
    RandomColumns c;
    for (int g = groups(rng); g > 0; --g) {
        const double noise = std::pow(10.0, 2 * unit(rng) - 1.5), shift = 3 * normal(rng);
        for (int i = size(rng); i > 0; --i) {
            const double x = 5 + 2 * normal(rng);
            c.x.push_back(x);
            c.y.push_back(shift + slope * (1 + 0.2 * normal(rng)) * x + noise * std::fabs(slope) * normal(rng));
            c.group.push_back(g - 1);
        }
    }
    return c;
}
} // namespace

// Over a thousand random analyses (chi-squared p-values): no statistic below 0 beyond rounding (the
// intercept's T is signed), limits in order (but MA intervals through the vertical), every p in
// [0, 1], and the hypothesised-slope statistic at each finite common-slope limit equal to the
// quantile.
TEST(CommonSlope, PropertiesOfRandomAnalyses)
{
    std::mt19937 rng(2024);
    RandomStream random;
    int limitsChecked = 0;
    for (int run = 0; run < 1200; ++run) {
        AnalysisSettings settings;
        settings.method = static_cast<Method>(run % 3);
        settings.intercept = run % 2 == 0;
        settings.minGroupSize = 2;
        settings.slopeH0 = 1.0;
        settings.interceptH0 = settings.intercept ? std::optional<double>(0.5) : std::nullopt;
        const RandomColumns columns = randomColumns(rng);
        const Fit fit = korvel::fit(dataFromColumns(columns.view()), settings);
        const auto isP = [](double p) { return p >= 0 && p <= 1; };
        const auto ordered = [](double lo, double b, double hi) { return lo <= b && b <= hi; };
        for (const GroupLine& g : fit.lines) {
            SCOPED_TRACE(testing::Message() << "run " << run << " group " << g.group);
            EXPECT_TRUE(isP(g.p));
            EXPECT_TRUE(g.throughVertical || ordered(g.slopeLow, g.slope, g.slopeHigh));
            EXPECT_TRUE(!settings.intercept || ordered(g.interceptLow, g.intercept, g.interceptHigh));
            EXPECT_TRUE(g.slopeTest->statistic >= 0 && isP(g.slopeTest->p));
            EXPECT_TRUE(!settings.intercept || isP(g.interceptTest->p));
        }
        if (fit.lines.size() < 2)
            continue;
        SCOPED_TRACE(testing::Message() << "run " << run);
        const CommonSlopeTest common = testCommonSlope(fit, PValueFrom::ChiSquared, 1000, 0.5, random);
        EXPECT_GE(common.statistic, -1e-9);
        EXPECT_TRUE(isP(common.p));
        if (common.common) {
            EXPECT_TRUE(ordered(common.limits->low, common.slope, common.limits->high));
            const double chi = chisqQinv(0.05, 1);
            for (double limit : {common.limits->low, common.limits->high}) {
                if (!std::isfinite(limit))
                    continue;
                ++limitsChecked;
                EXPECT_NEAR(hypothesisedSlopeStatistic(estimatorOf(settings), groupsOf(fit), common.slope, limit), chi,
                            1e-6 * chi);
            }
            // The Wald tests turn each score variance into that of a residual with n - 2
            // degrees of freedom: a group of two points (through the origin) leaves them undefined.
            const bool twoPoints = std::any_of(fit.lines.begin(), fit.lines.end(), [](const auto& g) { return g.n == 2; });
            const auto isWald = [&](double W, double p) { return (twoPoints && std::isnan(W)) || (W >= -1e-9 && isP(p)); };
            const LinesWithCommonSlope lines = linesWithCommonSlope(fit, common);
            for (ScoreAxis axis : {ScoreAxis::Residual, ScoreAxis::Fitted}) {
                const WaldTest wald = testShift(fit, lines, axis, 0.05, true);
                EXPECT_TRUE(isWald(wald.statistic, wald.p));
                for (int i = 0; i < wald.pairs->groups(); ++i)
                    for (int j = 0; j < i; ++j)
                        EXPECT_TRUE(isWald(wald.pairs->get(i, j).statistic, wald.pairs->get(i, j).p));
            }
        } else {
            const PairTable<SlopePair> pairs = compareSlopes(fit, common, PAdjustment::None, random);
            for (int i = 0; i < pairs.groups(); ++i)
                for (int j = 0; j < i; ++j)
                    EXPECT_TRUE(pairs.get(i, j).statistic >= -1e-9 && isP(pairs.get(i, j).p));
        }
    }
    EXPECT_GT(limitsChecked, 500);
}

// The robust lines judged by simulation as the benchmark judges them
// (bench/korvel_robust.cpp), with a tenth of its replicates and its bands
// widened by three standard errors of a proportion: the coverage of the robust
// slopes' intervals on clean data, the size of the common-slope and elevation
// tests, and the slope among 10 % outliers.
TEST(RobustLines, CoverageSizeAndOutliersBySimulation)
{
    namespace sim = korvel::simulation;
    std::mt19937_64 rng(7);
    const auto widened = [](double share, int replicates) {
        return 3 * std::sqrt(share * (1 - share) / replicates);
    };
    const double coverageBand = widened(0.95, 400);
    for (Method method : {Method::SMA, Method::MA, Method::OLS})
        for (int n : {20, 50, 200})
            for (double r : {0.5, 0.8}) {
                const double covered = sim::coverage(method, n, r, 400, rng);
                EXPECT_GE(covered, 0.93 - coverageBand) << static_cast<int>(method) << " " << n << " " << r;
                EXPECT_LE(covered, 0.97 + coverageBand) << static_cast<int>(method) << " " << n << " " << r;
            }
    const sim::TestSizes sizes = sim::testSizes(200, rng);
    EXPECT_LE(sizes.commonSlope, 0.06 + widened(0.05, 200));
    EXPECT_GE(sizes.commonSlope, 0.04 - widened(0.05, 200));
    EXPECT_LE(sizes.elevation, 0.07 + widened(0.05, 190));
    EXPECT_GE(sizes.elevation, 0.04 - widened(0.05, 190));
    const sim::OutlierErrors errors = sim::outlierErrors(20, rng);
    EXPECT_LT(errors.robust, 0.10);
    EXPECT_GT(errors.ordinary, 0.20);
}
