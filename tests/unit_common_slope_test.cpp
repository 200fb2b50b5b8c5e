// Common slope: estimate, statistic, interval, the test with its report block
// and its resampling p-value. Expected values: hand calculation, or
// tests/reference/reference.py and reference_output.txt ("ref"), or a short
// /usr/bin/python3 + numpy calculation with the reference's formulas ("py").
#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <gsl/gsl_cdf.h>
#include <gtest/gtest.h>

#include "SMAstats.h"
#include "common_test.h"

#define EXPECT_REL(actual, expected, tol) EXPECT_NEAR(actual, expected, (tol) * std::fabs(expected))

namespace fits_test { // defined in unit_fits_test.cpp
extern const double kCatsBwt[144];
extern const double kCatsHwt[144];
void addGroup(SMAstats& s, const std::string& name, const std::vector<double>& X, const std::vector<double>& Y);
SMAstats fittedCats(int method, int intercept);
std::string reportOf(const std::function<void(std::ofstream&)>& write);
} // namespace fits_test
using namespace fits_test;

namespace {
// The cats' common-slope block as test_common writes it, after the
// individual-lines report has put the stream in fixed notation.
std::string commonBlock(SMAstats& s, profile& prof, bool* result = nullptr)
{
    testing::internal::CaptureStdout();
    const std::string text = reportOf([&](std::ofstream& out) {
        s.print_individual_details(prof, out);
        out << std::endl;
        const bool common = s.test_common(prof, out);
        if (result)
            *result = common;
    });
    testing::internal::GetCapturedStdout();
    const std::size_t at = text.find("TEST FOR COMMON SLOPE");
    return at == std::string::npos ? text : text.substr(at);
}

const std::string kHeader = "TEST FOR COMMON SLOPE ACROSS GROUPS\nGrps   \tN      \tSlope  \tLowCI  \tUppCI  \t";
} // namespace

TEST(CommonSlope, IdenticalGroupsShareTheirSlope)
{
    // ref: worked example twice; slope per method and the interval limits
    const double expected[3][3] = {{0.6, 0.0732386723, 1.127598488},
                                   {0.7745966692, 0.4097125238, 1.464617814},
                                   {0.7207592201, 0.1324612358, 2.044977178}};
    for (int method = 0; method < 3; ++method) {
        SCOPED_TRACE(method);
        SMAstats s;
        s.method = method;
        s.intercept = 1;
        addGroup(s, "A", {5, 4, 3, 2, 1}, {5, 4, 5, 4, 2});
        addGroup(s, "B", {5, 4, 3, 2, 1}, {5, 4, 5, 4, 2});
        profile prof;
        s.fit_individual(prof);
        double b = 0;
        EXPECT_TRUE(s.fit_common(s.groups, 2, b)); // ref: converged at iteration 1
        EXPECT_REL(b, expected[method][0], 1e-9);
        EXPECT_NEAR(s.common_TestStat(s.groups, b, 0.0), 0.0, 1e-10);
        EXPECT_NEAR(s.common_pval(s.groups, 1000, b, 0), 1.0, 1e-9); // hand: chi-squared tail at 0
        const auto ci = s.commonCI(s.groups, 95.0, b);
        EXPECT_REL(ci.first, expected[method][1], 1e-7);
        EXPECT_REL(ci.second, expected[method][2], 1e-7);
    }
}

TEST(CommonSlope, CatsEstimateStatisticAndInterval)
{
    // ref: cats with intercept; slope, T, chi-squared p (1 df), lower, upper
    const double expected[3][5] = {
        {3.777851111, 5.608758382, 0.01787092141, 3.307200017, 4.594506263},
        {5.338004224, 0.4311063788, 0.5114465638, 4.777904343, 5.965400125},
        {7.059652028, 1.619877258, 0.2031089031, 6.131806524, 8.303508539}};
    for (int method = 0; method < 3; ++method) {
        SCOPED_TRACE(method);
        SMAstats s = fittedCats(method, 1);
        double b = 0;
        EXPECT_TRUE(s.fit_common(s.groups, 1000, b));
        EXPECT_REL(b, expected[method][0], 1e-8);
        EXPECT_REL(s.common_TestStat(s.groups, b, 0.0), expected[method][1], 1e-7);
        EXPECT_REL(s.common_pval(s.groups, 1000, b, 0), expected[method][2], 1e-7);
        const auto ci = s.commonCI(s.groups, 95.0, b);
        EXPECT_REL(ci.first, expected[method][3], 1e-7);
        EXPECT_REL(ci.second, expected[method][4], 1e-7);
    }
    // ref: SMA converges after 3 iterations (false for limit 3, slope written
    // all the same); statistic against 1: T0 = 377.9245924; against itself 0 (hand)
    SMAstats s = fittedCats(1, 1);
    double b = 0;
    EXPECT_FALSE(s.fit_common(s.groups, 3, b));
    EXPECT_REL(b, 5.338004224, 1e-8);
    EXPECT_REL(s.common_TestStat(s.groups, b, 1.0), 377.9245924, 1e-7);
    EXPECT_NEAR(s.common_TestStat(s.groups, b, b), 0.0, 1e-12);
}

TEST(CommonSlopeTest, ReportBlockWithoutHypothesisedSlope)
{
    // ref: b 5.338004224, limits 4.777904343 .. 5.965400125, T 0.4311063788,
    // p 0.5114465638; slopes with 3 decimals (hand: trunc(4 - log10 5.4)), p
    // with ceil(log10 1000) = 3. The block with H0_b: end-to-end test below.
    SMAstats s = fittedCats(1, 1);
    profile prof;
    prof.resample = 0;
    bool result = false;
    EXPECT_EQ(commonBlock(s, prof, &result),
              kHeader + "\n2      \t144    \t5.338  \t4.778  \t5.965  \t\n\nTest statistic:\t0.431\tp =\t0.511\n");
    EXPECT_TRUE(result);
    EXPECT_REL(s.commonSlope, 5.338004224, 1e-8);
}

TEST(CommonSlopeTest, PEqualToCriticalIsEvidenceAgainst)
{
    SMAstats s = fittedCats(1, 1);
    double b = 0;
    s.fit_common(s.groups, 1000, b);
    profile prof;
    prof.resample = 0;
    prof.H0_b = 1.0;
    prof.crit_p = gsl_cdf_chisq_Q(s.common_TestStat(s.groups, b, 0.0), 1); // chi-squared, 1 df
    EXPECT_REL(prof.crit_p, 0.5114465638, 1e-7);                            // ref
    bool result = true;
    EXPECT_EQ(commonBlock(s, prof, &result),
              kHeader + "\n2      \t144    \t5.338  \t\n\nTest statistic:\t0.431\tp =\t0.511\n");
    EXPECT_FALSE(result);
    prof.crit_p = std::nextafter(prof.crit_p, 0.0);
    commonBlock(s, prof, &result);
    EXPECT_TRUE(result);
}

TEST(CommonSlopeTest, SingleGroupWritesTwoLines)
{
    SMAstats s;
    s.method = 1;
    s.intercept = 1;
    addGroup(s, "all", {5, 4, 3, 2, 1}, {5, 4, 5, 4, 2});
    profile prof;
    s.fit_individual(prof);
    testing::internal::CaptureStdout();
    bool result = false;
    const std::string text = reportOf([&](std::ofstream& out) { result = s.test_common(prof, out); });
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "\nSingle group: no test for common slope.\nSee file ouput for line fitted to all data\n\n");
    EXPECT_EQ(text, "Single group: no test for common slope\n");
    EXPECT_TRUE(result);
}

TEST(Resampling, SingleIterationGivesOne)
{
    SMAstats s = fittedCats(1, 1);
    EXPECT_EQ(s.common_pval(s.groups, 1, 5.338004224, 1), 1.0); // hand: count 1 of N = 1
    EXPECT_EQ(s.common_pval(s.groups, 0, 5.338004224, 1), 1.0); // settled: N = 0 as N = 1
    EXPECT_EQ(pvalueDigits(0), 0);    // settled: N = 0 as N = 1
    EXPECT_EQ(pvalueDigits(1001), 4); // hand: ceil(3.0004)
    profile prof;
    prof.n_iterations = 1;
    const std::string block = commonBlock(s, prof);
    EXPECT_NE(block.find("\tp =\t1\n"), std::string::npos) << block; // D = 0 decimals
}

TEST(Resampling, PIsMultipleOfOneOverNAndCallerMapUntouched)
{
    SMAstats s = fittedCats(1, 1);
    const GroupMap before = s.groups;
    const int N = 50;
    for (int call = 0; call < 2; ++call) {
        const double p = s.common_pval(s.groups, N, 5.338004224, 1);
        EXPECT_GE(p, 1.0 / N);
        EXPECT_LE(p, 1.0);
        EXPECT_NEAR(p * N, std::round(p * N), 1e-9);
    }
    for (const auto& e : before) {
        const summary_stats& now = s.groups.at(e.first);
        EXPECT_TRUE(now.X == e.second.X && now.Y == e.second.Y) << e.first;
        EXPECT_TRUE(now.fittedAxis == e.second.fittedAxis && now.residAxis == e.second.residAxis) << e.first;
        EXPECT_TRUE(now.interc == e.second.interc && now.slope == e.second.slope && now.SXY == e.second.SXY);
    }
}

TEST(Resampling, AgreesWithIndependentResampling)
{
    // py: the same pooled-residual scheme with numpy's shuffle, 20000 resamples:
    // SMA p 0.5132, OLS p 0.0335. Allowed: 5 standard errors of a 1000-resample p.
    const double expected[2][2] = {{1, 0.5132}, {0, 0.0335}};
    for (const auto& e : expected) {
        SMAstats s = fittedCats(static_cast<int>(e[0]), 1);
        double b = 0;
        s.fit_common(s.groups, 1000, b);
        const double p = s.common_pval(s.groups, 1000, b, 1);
        EXPECT_NEAR(p, e[1], 5 * std::sqrt(e[1] * (1 - e[1]) / 1000)) << "method " << e[0];
    }
}

TEST(CommonSlopeEndToEnd, CatsFromTextColumnsToReport)
{
    profile prof;
    prof.columns = {{"Sex"}, {"Hwt"}, {"Bwt"}};
    for (int i = 0; i < 144; ++i) {
        std::ostringstream x, y;
        x << kCatsBwt[i];
        y << kCatsHwt[i];
        prof.columns[0].push_back(i < 47 ? "F" : "M");
        prof.columns[1].push_back(y.str());
        prof.columns[2].push_back(x.str());
    }
    prof.n_lines = 145;
    prof.filename = "cats.txt";
    prof.resample = 0;
    prof.H0_b = 1.0;
    SMAstats s;
    testing::internal::CaptureStdout();
    bool result = false;
    const std::string text = reportOf([&](std::ofstream& out) {
        s.input(prof, out);
        s.fit_individual(prof);
        s.print_individual_details(prof, out);
        out << std::endl;
        result = s.test_common(prof, out);
    });
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(result);
    // py: ref's cats SMA values formatted with the report's widths and precisions;
    // slope test against 1: F 354.5583294 (F) and 1766.874417 (M), p < 1e-22
    const std::string expected =
        "\nSMA results\nGroup  \tn      \tR2     \tp      \tSlope  \tLowCI  \tUppCI  \tInterc \tLowCI  \tUppCI  "
        "\tYmean  \tXmean  \tH0_b   \tF      \tp      \t\n"
        "F      \t47\t0.283  \t0.000  \t4.955  \t3.853  \t6.373  \t-2.490 \t-5.487 \t0.507  \t9.202  \t2.360  "
        "\t1.000  \t354.558\t0.000  \t\n"
        "M      \t97\t0.629  \t0.000  \t5.438  \t4.805  \t6.155  \t-4.448 \t-6.433 \t-2.464 \t11.323 \t2.900  "
        "\t1.000  \t1766.874\t0.000  \t\n\n" +
        kHeader + "H0_b   \tX2     \tp      \n2      \t144    \t5.338  \t4.778  \t5.965  \t1.000  \t377.925\t0.000  "
                  "\n\nTest statistic:\t0.431\tp =\t0.511\n";
    const std::size_t at = text.find("\nSMA results\n");
    ASSERT_NE(at, std::string::npos) << text;
    EXPECT_EQ(text.substr(at), expected);
}

TEST(ResamplingPvalue, UndefinedStatisticGivesUndefinedPvalue)
{
    // Group A lies exactly on a line (y = 2x): the correlation of its residual
    // and fitted-axis scores is 1 at any slope, so its term of the statistic,
    // ln(1 - c^2 / (r f)), is undefined once rounding takes 1 - c^2 / (r f)
    // below 0. No resampled statistic can exceed an undefined one, so the
    // p-value must be undefined too, not the smallest count / N.
    SMAstats s;
    s.method = 1;
    s.intercept = 1;
    addGroup(s, "A", {3, 2, 1}, {6, 4, 2});
    addGroup(s, "B", {4, 3, 2, 1}, {5, 2, 3, 1});
    profile prof;
    s.fit_individual(prof);
    double b = 0;
    s.fit_common(s.groups, 9, b);
    ASSERT_TRUE(std::isnan(s.common_TestStat(s.groups, b, 0.0)));
    EXPECT_TRUE(std::isnan(s.common_pval(s.groups, 9, b, 1)));
    EXPECT_TRUE(std::isnan(s.common_pval(s.groups, 9, b, 0)));
}

TEST(ResamplingPvalue, LargePoolsRefitToTheSameNumbers)
{
    // Pools of more than 2^18 points are fitted from points rebuilt on the
    // fly; the numbers must be those of rebuilding every point as the
    // resampling describes (here written out again) and fitting it again.
    for (int method = 0; method < 3; ++method) {
        SCOPED_TRACE(method);
        SMAstats s;
        s.method = method;
        s.intercept = 1;
        std::vector<double> X1, Y1, X2, Y2;
        for (int i = 0; i < 150000; ++i) {
            const double x = 1 + (i % 997) * 0.01;
            X1.push_back(x);
            Y1.push_back(2 * x + std::sin(i * 0.7));
            X2.push_back(x + 0.5);
            Y2.push_back(1.5 * x + std::cos(i * 1.3));
        }
        addGroup(s, "A", X1, Y1);
        addGroup(s, "B", X2, Y2);
        profile prof;
        s.fit_individual(prof);
        const double b = 1.7;
        GroupMap streamed = s.groups;
        std::vector<double> R;
        for (auto& entry : streamed) {
            summary_stats& g = entry.second;
            g.interc = g.Ymean - b * g.Xmean;
            for (std::size_t k = 0; k < g.X.size(); ++k) {
                g.fittedAxis[k] = method == 0 ? g.X[k] : method == 1 ? g.Y[k] + b * g.X[k] : g.X[k] + b * g.Y[k];
                R.push_back(g.Y[k] - b * g.X[k] - g.interc);
            }
        }
        std::reverse(R.begin(), R.end()); // any reordering of the pool will do
        GroupMap rebuilt = streamed;
        std::size_t m = 0;
        for (auto& entry : rebuilt) {
            summary_stats& g = entry.second;
            const double a = g.interc;
            for (std::size_t k = 0; k < g.X.size(); ++k, ++m) {
                const double F = g.fittedAxis[k];
                if (method == 0) {
                    g.Y[k] = b * F + R[m] + a;
                } else if (method == 1) {
                    g.Y[k] = (F + R[m] + a) * 0.5;
                    g.X[k] = (0.5 / b) * (F - R[m] - a);
                } else {
                    g.Y[k] = (b * F + R[m] + a) / (b * b + 1);
                    g.X[k] = (F - b * (R[m] + a)) / (b * b + 1);
                }
            }
        }
        s.fit_lines(rebuilt, false);
        s.refitResampled(streamed, R, b);
        for (const char* name : {"A", "B"}) {
            const summary_stats &x = rebuilt.at(name), &y = streamed.at(name);
            EXPECT_EQ(x.Xmean, y.Xmean);
            EXPECT_EQ(x.Ymean, y.Ymean);
            EXPECT_EQ(x.SXX, y.SXX);
            EXPECT_EQ(x.SYY, y.SYY);
            EXPECT_EQ(x.SXY, y.SXY);
            EXPECT_EQ(x.slope, y.slope);
            EXPECT_EQ(x.varSlope, y.varSlope);
        }
    }
}
