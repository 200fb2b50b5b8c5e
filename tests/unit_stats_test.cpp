// The formulas and tables that end-to-end sessions reach only in part: the
// estimators and the intercept factor K(n), the guarded distributions, the
// significance matrix, the common-slope statistics, the two-group Wald test
// and the refit of large pools.
// Expected values are worked by hand (as shown) or from scipy, as noted.
#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <sstream>

#include <gtest/gtest.h>

#include "report/significance_matrix.h"
#include "stats/axis_scores.h"
#include "stats/common_slope.h"
#include "engine/fitted_groups.h"
#include "korvel/engine.h"
#include "report/ranking.h"
#include "stats/distributions.h"
#include "stats/line_fits.h"
#include "stats/p_adjustment.h"
#include "stats/resampled_fits.h"
#include "stats/wald.h"

using namespace korvel;

namespace {
GroupMap oneGroup(const std::vector<double>& X, const std::vector<double>& Y)
{
    PointsByGroup points;
    points["one"] = {X, Y};
    return groupsOf(std::move(points));
}
} // namespace

TEST(LineEstimators, SlopesScoresAndTheInterceptFactor)
{
    // Worked example (1,2),(2,4),(3,5),(4,4),(5,5): SXX 2.5, SYY 1.5, SXY 1.5.
    const double slopes[] = {0.6, std::sqrt(0.6), (-1 + std::sqrt(10.0)) / 3};
    const Method methods[] = {Method::OLS, Method::SMA, Method::MA};
    for (int m = 0; m < 3; ++m) {
        GroupMap groups = oneGroup({5, 4, 3, 2, 1}, {5, 4, 5, 4, 2});
        const Estimator estimator(methods[m], true);
        fitLines(estimator, {}, groups);
        const Group& g = groups["one"];
        EXPECT_DOUBLE_EQ(g.SXX, 2.5);
        EXPECT_DOUBLE_EQ(g.SXY, 1.5);
        EXPECT_DOUBLE_EQ(g.slope, slopes[m]) << m;
        EXPECT_DOUBLE_EQ(g.interc, 4 - slopes[m] * 3) << m;
        const GroupScores scores = scoresAt(estimator, g, g.slope);
        EXPECT_DOUBLE_EQ(scores.residual[0], 5 - slopes[m] * 5) << m;
        const double fitted[] = {5, 5 + slopes[1] * 5, slopes[2] * 5 + 5};
        EXPECT_DOUBLE_EQ(scores.fitted[0], fitted[m]) << m;
    }
    const Estimator sma(Method::SMA, true), throughOrigin(Method::SMA, false);
    EXPECT_DOUBLE_EQ(sma.slope(4, 1, -1.5), -2.0);
    EXPECT_DOUBLE_EQ(sma.slope(4, 1, 0.0), 2.0); // SXY 0 counts as positive
    // SYY - 2b SXY + b^2 SXX at b 0.6 is 0.6; K(n) = (n - 1) / (n - 2): K(3) = 2, K(4) = 1.5.
    EXPECT_DOUBLE_EQ(sma.varResid(1.5, 2.5, 1.5, 0.6, 3), 1.2);
    EXPECT_DOUBLE_EQ(sma.varResid(1.5, 2.5, 1.5, 0.6, 4), 0.9);
    EXPECT_DOUBLE_EQ(throughOrigin.varResid(1.5, 2.5, 1.5, 0.6, 3), 0.6);
    EXPECT_DOUBLE_EQ(sma.varFitted(1.5, 2.5, 1.5, 0.6, 3), 8.4); // 2 (1.5 + 1.8 + 0.9)
    EXPECT_DOUBLE_EQ(sma.covarRF(1.5, 2.5, 1.5, 0.6, 3), 2 * (1.5 - 0.36 * 2.5));
    EXPECT_DOUBLE_EQ(Estimator(Method::MA, true).covarRF(1.5, 2.5, 1.5, 0.6, 4), 1.5 * (0.6 * -1 + 1.5 - 0.36 * 1.5));
    EXPECT_DOUBLE_EQ(Estimator(Method::OLS, true).varFitted(1.5, 2.5, 1.5, 0.6, 3), 2.5); // OLS never uses K
}

TEST(CommonSlope, StatisticsOfASharedAndOfAHypothesisedSlope)
{
    // The worked example, OLS (df 3): at b, r = 1.5 - 3b + 2.5b^2, f = 2.5 and
    // c = 1.5 - 2.5b. Shared slope 0.5: r 0.625, c 0.25, T = -2.5 ln(1 - 0.0625 /
    // 1.5625); at its own slope 0.6, c = 0 and T = 0. Hypothesised slope 0 given
    // 0.6: q = f r is 2.5 * 1.5 against 2.5 * 0.6, T = 2.5 ln 2.5.
    const Estimator ols(Method::OLS, true);
    GroupMap groups = oneGroup({5, 4, 3, 2, 1}, {5, 4, 5, 4, 2});
    fitLines(ols, {}, groups);
    const struct {
        double b;
        std::optional<double> b0;
        double T;
    } rows[] = {{0.5, {}, -2.5 * std::log(0.96)}, {0.6, {}, 0}, {0.6, 0.0, 2.5 * std::log(2.5)}};
    for (const auto& row : rows) {
        const double T = row.b0 ? hypothesisedSlopeStatistic(ols, groups, row.b, *row.b0)
                                : commonSlopeStatistic(ols, groups, row.b);
        EXPECT_NEAR(T, row.T, 1e-12) << row.b;
    }
}

TEST(Distributions, NaNOutsideTheDomainAndFQuantilesOfLargeGroups)
{
    EXPECT_TRUE(std::isnan(fdistQ(2.0, 1, 0)));
    EXPECT_TRUE(std::isnan(fdistQ(-0.5, 1, 10)));
    EXPECT_TRUE(std::isnan(fdistPinv(0.95, 1, -1)));
    EXPECT_TRUE(std::isnan(tdistPinv(0.975, 0)));
    EXPECT_TRUE(std::isnan(tdistP(NAN, 5)));
    EXPECT_TRUE(std::isnan(chisqQ(1.0, -1)));
    EXPECT_TRUE(std::isnan(chisqQinv(1.5, 1)));
    // scipy.stats.f.ppf; the library alone gives NaN at these degrees of freedom.
    EXPECT_NEAR(fdistPinv(0.95, 1, 99998), 3.8415518154339106, 1e-9);
    EXPECT_NEAR(fdistQinv(0.05, 1, 999989), 3.8414681196369327, 1e-9);
    EXPECT_NEAR(fdistPinv(0.95, 1, 10), 4.9646027437307128, 1e-10);
}

namespace {
// The matrix of groups sorted by value, as the report (fixed, left) writes it.
std::string matrixText(const std::vector<std::pair<std::string, double>>& values,
                       const std::function<double(int, int)>& pairP)
{
    std::vector<RankedGroup> groups;
    for (const auto& [name, value] : values)
        groups.push_back({value, static_cast<int>(groups.size()), name, 6});
    std::ostringstream s;
    s << std::fixed << std::left;
    writeSignificanceMatrix(s, 0.05, "slope", rankGroups(groups), 7, pairP);
    return s.str();
}
} // namespace

TEST(SignificanceMatrix, OrderCodesAndMarks)
{
    // The documented three-group example; A-B has p exactly 0.05, marked "x".
    const auto p = [](int i, int j) { return i + j == 2 ? 0.01 : i + j == 1 ? 0.05 : 0.4; };
    EXPECT_EQ(matrixText({{"A", 0.8}, {"B", 1.1}, {"C", 1.2}}, p),
              "\nSorted pair-wise significance matrix for critical p = 0.050; x is indicated where p > 0.050"
              "\nCode\tGroup  \tslope   \tn\t|123|"
              "\n1\tA      \t0.800   \t6\t|0x |"
              "\n2\tB      \t1.100   \t6\t|x0x|"
              "\n3\tC      \t1.200   \t6\t| x0|\n");
    // Equal values: the later group first. NaN: last, and its pairs "?".
    const auto q = [](int i, int j) { return i == 3 || j == 3 ? NAN : i + j == 1 ? 0.01 : 0.5; };
    const std::string text = matrixText({{"a", 1.0}, {"b", 1.0}, {"c", 0.5}, {"d", NAN}}, q);
    EXPECT_NE(text.find("|1234|\n1\tc      \t0.500   \t6\t|0xx?|\n2\tb      \t1.000   \t6\t|x0 ?|\n"
                        "3\ta      \t1.000   \t6\t|x 0?|\n4\td      \tnan     \t6\t|???0|\n"),
              std::string::npos)
        << text;
    std::vector<std::pair<std::string, double>> eleven;
    for (int k = 0; k < 11; ++k)
        eleven.emplace_back("g" + std::to_string(10 + k), k);
    EXPECT_NE(matrixText(eleven, [](int, int) { return 0.5; }).find("\tn\t|123456789:;|"), std::string::npos);
}

TEST(WaldTest, TwoGroupsFollowTheClosedForm)
{
    // SMA, B = 2, elevation: a: n 4, m = 3 - 2 = 1, v = (2.5/3)(3/2)/4 = 0.3125,
    // var slope 0.5, h -1; b: n 5, m = 6 - 4 = 2, v = 0.5 (4/3)/5 = 2/15, var
    // slope 0.25, h -2; var B = 1/6. W = 1 / (V00 + V11 - 2 V01) = 80/49,
    // p = scipy.stats.chi2.sf(80/49, 1); A_com = 26/21 (numpy).
    LinesWithCommonSlope lines;
    lines.slope = 2;
    const auto add = [&](const char* name, double Xmean, double Ymean, double varSlope, std::vector<double> resid) {
        LineWithCommonSlope& line = lines.groups.emplace_back();
        line.group = name;
        line.n = static_cast<int>(resid.size());
        line.xMean = Xmean;
        line.yMean = Ymean;
        line.varSlope = varSlope;
        line.scores.residual = std::move(resid);
    };
    add("a", 1, 3, 0.5, {0.5, 1.5, 0.0, 2.0});
    add("b", 2, 6, 0.25, {1, 2, 3, 2, 2});
    const Estimator sma(Method::SMA, true);
    const WaldTest r = waldTest(sma, lines, ScoreAxis::Residual, {}, 0.05);
    EXPECT_EQ(r.df, 1);
    EXPECT_NEAR(r.statistic, 80.0 / 49.0, 1e-12);
    EXPECT_NEAR(r.p, 0.20133648528739703, 1e-12);
    ASSERT_TRUE(r.commonValue);
    EXPECT_NEAR(*r.commonValue, 26.0 / 21.0, 1e-12);
    // p equal to crit_p: no common value; a group of two points: undefined.
    EXPECT_FALSE(waldTest(sma, lines, ScoreAxis::Residual, {}, r.p).commonValue);
    add("c", 1, 1, 0.3, {0.1, 0.2});
    EXPECT_TRUE(std::isnan(waldTest(sma, lines, ScoreAxis::Residual, {}, 0.05).statistic));
}

TEST(Resampling, LargePoolsRefitToTheSameNumbers)
{
    // Pools above 2^18 points are fitted from points rebuilt on the fly; the
    // numbers must equal those of fitting the rebuilt points (smaller pool).
    for (Method method : {Method::OLS, Method::SMA, Method::MA}) {
        const Estimator estimator(method, true);
        std::vector<double> X, Y;
        for (int i = 0; i < 150000; ++i) {
            X.push_back(1 + (i % 997) * 0.01);
            Y.push_back(2 * X.back() + std::sin(i * 0.7));
        }
        PointsByGroup points{{"A", {X, Y}}, {"B", {Y, X}}};
        GroupMap groups = groupsOf(std::move(points));
        fitLines(estimator, {}, groups);
        GroupMap large = groups, small = groups;
        small.erase("B");
        ResamplingPool largePool = resamplingPool(estimator, large, 1.7);
        for (std::size_t k = 0; k < largePool.residuals.size(); ++k)
            largePool.residuals[k] = std::cos(k * 1.3);
        ResamplingPool smallPool = resamplingPool(estimator, small, 1.7);
        std::copy_n(largePool.residuals.begin(), smallPool.residuals.size(), smallPool.residuals.begin());
        refitResampled(estimator, {}, largePool, large);
        refitResampled(estimator, {}, smallPool, small);
        const int m = static_cast<int>(method);
        EXPECT_EQ(large.at("A").SXY, small.at("A").SXY) << m;
        EXPECT_EQ(large.at("A").slope, small.at("A").slope) << m;
        EXPECT_EQ(large.at("A").varSlope, small.at("A").varSlope) << m;
    }
}

TEST(PAdjustment, HolmBonferroniSidakAsStatsmodelsGivesThem)
{
    // statsmodels.stats.multitest.multipletests; a NaN stays NaN and is no comparison.
    const std::vector<double> p = {0.01, 0.04, 0.03, 0.005, 0.2, 0.5}, ties = {0.02, NAN, 0.01, 0.02};
    const struct {
        PAdjustment method;
        std::vector<double> of, adjusted;
    } rows[] = {
        {PAdjustment::Holm, p, {0.05, 0.12, 0.12, 0.03, 0.4, 0.5}},
        {PAdjustment::Bonferroni, p, {0.06, 0.24, 0.18, 0.03, 1.0, 1.0}},
        {PAdjustment::Sidak, p, {0.058519850599, 0.217242210304, 0.167027995071, 0.029627490643734374, 0.737856, 0.984375}},
        {PAdjustment::Holm, ties, {0.04, NAN, 0.03, 0.04}},
        {PAdjustment::Bonferroni, ties, {0.06, NAN, 0.03, 0.06}},
        {PAdjustment::Sidak, ties, {0.058808, NAN, 0.029701, 0.058808}},
        {PAdjustment::None, ties, ties},
    };
    for (const auto& r : rows) {
        const std::vector<double> got = adjustedPvalues(r.of, r.method);
        ASSERT_EQ(got.size(), r.adjusted.size());
        for (std::size_t i = 0; i < got.size(); ++i) {
            if (std::isnan(r.adjusted[i]))
                EXPECT_TRUE(std::isnan(got[i])) << namesOf(adjustmentNames, r.method).option << " " << i;
            else
                EXPECT_NEAR(got[i], r.adjusted[i], 1e-12) << namesOf(adjustmentNames, r.method).option << " " << i;
        }
    }
    EXPECT_EQ(comparisonCount(ties), 3);
}

// The resampling's stream is the C library's rand() (the GNU C library's, on
// which the tests run), seeded as srand() seeds it: 0 as 1, and every seed of
// 32 bits.
TEST(RandomStream, TheStreamOfRand)
{
    for (std::uint32_t seed : {0u, 1u, 7u, 2147483647u, 2147483648u, 4294967295u}) {
        std::srand(seed);
        RandomStream stream(seed);
        for (int i = 0; i < 1000; ++i)
            ASSERT_EQ(stream.next(), static_cast<std::uint32_t>(std::rand())) << seed << " " << i;
    }
}

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
