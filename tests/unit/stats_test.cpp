// The formulas and tables that end-to-end sessions reach only in part: the
// estimators and the intercept factor K(n), the guarded distributions, the
// common-slope statistics, the two-group Wald test, the refit of large pools,
// the adjustment of p-values and the resampling's stream.
// Expected values are worked by hand (as shown) or from scipy, as noted.
#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <tuple>

#include <gtest/gtest.h>

#include "stats/axis_scores.h"
#include "stats/common_slope.h"
#include "stats/distributions.h"
#include "stats/line_fits.h"
#include "stats/p_adjustment.h"
#include "stats/resampled_fits.h"
#include "stats/resampling.h"
#include "stats/robust_moments.h"
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
        line.residualVariance = varianceOf(resid, true);
        line.locationSize = line.n;
    };
    add("a", 1, 3, 0.5, {0.5, 1.5, 0.0, 2.0});
    add("b", 2, 6, 0.25, {1, 2, 3, 2, 2});
    const Estimator sma(Method::SMA, true);
    const WaldTest r = waldTest(sma, lines, ScoreAxis::Residual, 0.05);
    EXPECT_EQ(r.df, 1);
    EXPECT_NEAR(r.statistic, 80.0 / 49.0, 1e-12);
    EXPECT_NEAR(r.p, 0.20133648528739703, 1e-12);
    ASSERT_TRUE(r.commonValue);
    EXPECT_NEAR(*r.commonValue, 26.0 / 21.0, 1e-12);
    // p equal to crit_p: no common value; a group of two points: undefined.
    EXPECT_FALSE(waldTest(sma, lines, ScoreAxis::Residual, r.p).commonValue);
    add("c", 1, 1, 0.3, {0.1, 0.2});
    EXPECT_TRUE(std::isnan(waldTest(sma, lines, ScoreAxis::Residual, 0.05).statistic));
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

// Resampling that gives up (100 attempts per resample asked for, most of them
// without a statistic) counts the observed statistic with those it has:
// p = (1 + resamples above T0) / (1 + resamples counted).
TEST(Resampling, StoppedShortThePValueOfTheResamplesCounted)
{
    std::vector<double> X{1, 2, 3, 4, 5, 6}, Y{1.2, 1.9, 3.3, 3.8, 5.1, 6.2};
    GroupMap groups = groupsOf(PointsByGroup{{"a", {X, Y}}, {"b", {Y, X}}});
    const Estimator sma(Method::SMA, true);
    fitLines(sma, {}, groups);
    int calls = 0;
    // Every 150th attempt has a statistic, alternately above and below T0 = 0:
    // 6 of the 1,000 attempts that 10 resamples allow, 3 above.
    const ResampledStatistic sometimes = [&](const GroupMap&) -> std::optional<double> {
        if (++calls % 150 != 0)
            return std::nullopt;
        return (calls / 150) % 2 == 1 ? 1.0 : -1.0;
    };
    RandomStream random;
    const double p = resamplingPvalue(sma, {}, groups, 1.0, 0.0, 10, sometimes, noEvents(), random);
    EXPECT_EQ(calls, 1000);
    EXPECT_DOUBLE_EQ(p, 4.0 / 7.0);
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

// Huber M-estimation of a line of nine points and one far below it, against an
// independent implementation (numpy: the same weights, iterated to 1e-13):
// the outlier is the one point whose location weight is below 0.5. The
// variance factors against numerical integration at the normal (scipy.integrate).
TEST(RobustMoments, LocationScatterAndVarianceFactors)
{
    const std::vector<double> x{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, y{2.1, 3.9, 6.2, 8.1, 9.8, 12.2, 13.8, 16.1, 18.0, -5.0};
    const RobustMoments m = robustMoments(x, y, true);
    const struct {
        double got, expected;
    } rows[] = {{m.xMean, 5.01059466}, {m.yMean, 9.99039115}, {m.sxx, 6.667789135243649},
                {m.syy, 26.476305011366616}, {m.sxy, 13.274405383297605}};
    for (const auto& r : rows)
        EXPECT_NEAR(r.got, r.expected, 1e-7 * std::fabs(r.expected));
    for (std::size_t i = 0; i < x.size(); ++i)
        EXPECT_EQ(isDownweighted(x[i], y[i], m), i == 9) << i;
    const RobustMoments origin = robustMoments(x, y, false);
    EXPECT_EQ(origin.xMean, 0);
    EXPECT_NEAR(origin.sxx, 31.670370439161406, 1e-7 * 31.67);
    EXPECT_NEAR(origin.syy, 126.91203705423482, 1e-7 * 126.9);
    EXPECT_NEAR(origin.sxy, 63.38703700264152, 1e-7 * 63.39);
    // Points on one line have no scatter to weigh them by: the ordinary means and moments.
    const RobustMoments line = robustMoments({1, 2, 3, 4, 6}, {2, 4, 6, 8, 12}, true);
    EXPECT_DOUBLE_EQ(line.xMean, 3.2);
    EXPECT_DOUBLE_EQ(line.yMean, 6.4);
    EXPECT_DOUBLE_EQ(line.sxy * line.sxy, line.sxx * line.syy);
    EXPECT_NEAR(shapeVarianceFactor(), 1.0872036957945916, 1e-8);
    EXPECT_NEAR(locationVarianceFactor(), 1.0123777981195798, 1e-8);
}

// A fit begun at another sample's estimate with its Newton matrix reaches the
// estimate begun at the median, in fewer passes when the samples are alike,
// and even from a start far off (a sample of another scale and place).
TEST(RobustMoments, FromANearbyStartTheSameEstimate)
{
    std::mt19937_64 rng(11);
    std::normal_distribution<double> normal;
    const auto sample = [&](double place, double scale) {
        std::pair<std::vector<double>, std::vector<double>> s;
        for (int i = 0; i < 5000; ++i) {
            const double x = place + scale * normal(rng);
            s.first.push_back(x);
            s.second.push_back(1.5 * x + scale * (i % 50 == 0 ? 9 : 0.4) * normal(rng));
        }
        return s;
    };
    const struct {
        double place, scale;
        bool centred, fewerPasses;
    } rows[] = {{3, 0.5, true, true}, {3, 0.5, false, true}, {40, 7, true, false}, {-20, 7, false, false}};
    const auto base = sample(3, 0.5);
    for (const auto& r : rows) {
        const RobustStart start = robustStartAt(robustMoments(base.first, base.second, r.centred), base.first,
                                                base.second, r.centred);
        const auto other = sample(r.place, r.scale);
        const RobustMoments cold = robustMoments(other.first, other.second, r.centred);
        const RobustMoments warm = robustMomentsFrom(start, other.first, other.second, r.centred);
        const double sd = std::sqrt(cold.sxx * cold.syy);
        for (const auto& [got, expected, size] : {std::tuple{warm.xMean, cold.xMean, std::sqrt(cold.sxx)},
                                                  {warm.yMean, cold.yMean, std::sqrt(cold.syy)},
                                                  {warm.sxx, cold.sxx, cold.sxx},
                                                  {warm.syy, cold.syy, cold.syy},
                                                  {warm.sxy, cold.sxy, sd}})
            EXPECT_NEAR(got, expected, 1e-9 * size) << r.place;
        if (r.fewerPasses) {
            EXPECT_LE(warm.iterations, cold.iterations / 2) << r.place;
        }
    }
}
