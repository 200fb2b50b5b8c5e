// Line estimators, individual line fits and the individual-lines report.
// Expected values: hand calculation ("hand"), tests/reference/reference.py and
// reference_output.txt ("ref"), or a short /usr/bin/python3 + scipy calculation
// with the reference's formulas ("py"), as noted next to each value.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "SMAstats.h"
#include "line_fits.h"

#define EXPECT_REL(actual, expected, tol) EXPECT_NEAR(actual, expected, (tol) * std::fabs(expected))

// Shared with unit_common_slope_test.cpp.
namespace fits_test {
// 144 cats in data file order: body weight (X), heart weight (Y); the first 47
// are group F, the rest group M.
extern const double kCatsBwt[144] = {
    2,2,2,2.1,2.1,2.1,2.1,2.1,2.1,2.1,2.1,2.1,2.2,2.2,2.2,2.2,2.2,2.2,2.3,2.3,2.3,2.3,2.3,2.3,2.3,2.3,2.3,2.3,2.3,
    2.3,2.4,2.4,2.4,2.4,2.5,2.5,2.6,2.6,2.6,2.7,2.7,2.7,2.9,2.9,2.9,3,3,2,2,2.1,2.2,2.2,2.2,2.2,2.2,2.2,2.2,2.2,2.3,
    2.4,2.4,2.4,2.4,2.4,2.5,2.5,2.5,2.5,2.5,2.5,2.5,2.5,2.6,2.6,2.6,2.6,2.6,2.6,2.7,2.7,2.7,2.7,2.7,2.7,2.7,2.7,2.7,
    2.8,2.8,2.8,2.8,2.8,2.8,2.8,2.9,2.9,2.9,2.9,2.9,3,3,3,3,3,3,3,3,3,3.1,3.1,3.1,3.1,3.1,3.1,3.2,3.2,3.2,3.2,3.2,
    3.2,3.3,3.3,3.3,3.3,3.3,3.4,3.4,3.4,3.4,3.4,3.5,3.5,3.5,3.5,3.5,3.6,3.6,3.6,3.6,3.7,3.8,3.8,3.9,3.9};
extern const double kCatsHwt[144] = {
    7,7.4,9.5,7.2,7.3,7.6,8.1,8.2,8.3,8.5,8.7,9.8,7.1,8.7,9.1,9.7,10.9,11,7.3,7.9,8.4,9,9,9.5,9.6,9.7,10.1,10.1,
    10.6,11.2,6.3,8.7,8.8,10.2,9,10.9,8.7,10.1,10.1,8.5,10.2,10.8,9.9,10.1,10.1,10.6,13,6.5,6.5,10.1,7.2,7.6,7.9,
    8.5,9.1,9.6,9.6,10.7,9.6,7.3,7.9,7.9,9.1,9.3,7.9,8.6,8.8,8.8,9.3,11,12.7,12.7,7.7,8.3,9.4,9.4,10.5,11.5,8,9,9.6,
    9.6,9.8,10.4,11.1,12,12.5,9.1,10,10.2,11.4,12,13.3,13.5,9.4,10.1,10.6,11.3,11.8,10,10.4,10.6,11.6,12.2,12.4,
    12.7,13.3,13.8,9.9,11.5,12.1,12.5,13,14.3,11.6,11.9,12.3,13,13.5,13.6,11.5,12,14.1,14.9,15.4,11.2,12.2,12.4,
    12.8,14.4,11.7,12.9,15.6,15.7,17.2,11.8,13.3,14.8,15,11,14.8,16.8,14.4,20.5};

// Adds a group with the given points; axis vectors sized n, zeros.
void addGroup(SMAstats& s, const std::string& name, const std::vector<double>& X, const std::vector<double>& Y)
{
    summary_stats& g = s.groups[name];
    g.X = X;
    g.Y = Y;
    g.n = static_cast<int>(X.size());
    g.fittedAxis.assign(X.size(), 0.0);
    g.residAxis.assign(X.size(), 0.0);
}

// The cats by sex, points latest first as the data reader holds them, fitted at 95 %.
SMAstats fittedCats(int method, int intercept)
{
    SMAstats s;
    s.method = method;
    s.intercept = intercept;
    std::vector<double> X[2], Y[2];
    for (int i = 143; i >= 0; --i) {
        X[i < 47 ? 0 : 1].push_back(kCatsBwt[i]);
        Y[i < 47 ? 0 : 1].push_back(kCatsHwt[i]);
    }
    addGroup(s, "F", X[0], Y[0]);
    addGroup(s, "M", X[1], Y[1]);
    profile prof;
    s.fit_individual(prof);
    return s;
}

// Runs write on a fresh report file and returns what it left there.
std::string reportOf(const std::function<void(std::ofstream&)>& write)
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string path = ::testing::TempDir() + "korvel_" + test->test_suite_name() + "_" + test->name() + ".txt";
    {
        std::ofstream out(path, std::ios::trunc);
        write(out);
    }
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    std::remove(path.c_str());
    return text.str();
}
} // namespace fits_test

using namespace fits_test;

namespace {
// Worked example (1,2),(2,4),(3,5),(4,4),(5,5), latest first; Y may be scaled.
SMAstats fittedExample(int method, int intercept, int conf, const std::vector<double>& Y = {5, 4, 5, 4, 2})
{
    SMAstats s;
    s.method = method;
    s.intercept = intercept;
    addGroup(s, "one", {5, 4, 3, 2, 1}, Y);
    profile prof;
    prof.conf_level = conf;
    s.fit_individual(prof);
    return s;
}

const std::string kBaseHeader =
    "Group  \tn      \tR2     \tp      \tSlope  \tLowCI  \tUppCI  \tInterc \tLowCI  \tUppCI  \tYmean  \tXmean  \t";
} // namespace

TEST(LineEstimators, SlopeOfEachMethodAndMoments)
{
    SMAstats s;
    s.method = 1;
    EXPECT_DOUBLE_EQ(s.B_est(4, 1, -1.5), -2.0); // hand: -sqrt(4/1)
    EXPECT_DOUBLE_EQ(s.B_est(4, 1, 0.0), 2.0);   // hand: SXY = 0 counts as positive
    s.method = 2;
    EXPECT_DOUBLE_EQ(s.B_est(1, 1, 0.5), 1.0); // hand: (0 + sqrt(0 + 1)) / 1
    EXPECT_EQ(sign(0.0), 1);
    const std::vector<double> v = {1, 2, 3};
    EXPECT_DOUBLE_EQ(s.variance(v, v, true), 1.0);        // hand: (1 + 0 + 1) / 2
    EXPECT_DOUBLE_EQ(s.variance(v, v, false), 14.0 / 3);  // hand: (1 + 4 + 9) / 3
    EXPECT_DOUBLE_EQ(s.variance(v, {3, 2, 1}, true), -1); // hand: (-1 + 0 - 1) / 2
}

TEST(LineEstimators, InterceptFactorOnlyForSmallGroupsWithIntercept)
{
    // Worked example moments at b = 0.6: SYY - 2b SXY + b^2 SXX = 0.6 (hand).
    SMAstats s;
    s.method = 1;
    EXPECT_DOUBLE_EQ(s.var_resid(1.5, 2.5, 1.5, 0.6, 3, true), 1.2);  // hand: K(3) = 2
    EXPECT_DOUBLE_EQ(s.var_resid(1.5, 2.5, 1.5, 0.6, 4, true), 0.6);  // hand: K(4) = 1
    EXPECT_DOUBLE_EQ(s.var_resid(1.5, 2.5, 1.5, 0.6, 3, false), 0.6); // hand: no K through the origin
    EXPECT_DOUBLE_EQ(s.var_resid(1.5, 2.5, 1.5, 0.6, 2, true), 0.6);  // settled: K(2) = 1
    EXPECT_DOUBLE_EQ(s.var_fitted(1.5, 2.5, 1.5, 0.6, 3, true), 8.4); // hand: 2 (1.5 + 1.8 + 0.9)
    s.method = 0;
    EXPECT_DOUBLE_EQ(s.var_fitted(1.5, 2.5, 1.5, 0.6, 3, true), 2.5); // hand: OLS never uses K
}

TEST(LineEstimators, MajorAxisSlopeIsPrincipalAxis)
{
    // Principal axis of [[SXX, SXY], [SXY, SYY]]: angle 0.5 atan2(2 SXY, SXX - SYY)
    // (hand; ref cross-checks MA slopes against numpy's eigenvectors).
    SMAstats s;
    s.method = 2;
    const double moments[][3] = {{1.5, 2.5, 1.5}, {4, 1, -1.5}, {0.2, 3, 0.7}, {6.463230241, 0.2185416667, 0.9425}};
    for (const auto& m : moments) {
        const double expected = std::tan(0.5 * std::atan2(2 * m[2], m[1] - m[0]));
        EXPECT_NEAR(s.B_est(m[0], m[1], m[2]), expected, 1e-12 * (1 + std::fabs(expected)));
    }
}

TEST(IndividualFits, WorkedExampleByLeastSquares)
{
    SMAstats s = fittedExample(0, 1, 95);
    const summary_stats& g = s.groups["one"];
    EXPECT_DOUBLE_EQ(g.SXX, 2.5);    // hand
    EXPECT_DOUBLE_EQ(g.SYY, 1.5);    // hand
    EXPECT_DOUBLE_EQ(g.SXY, 1.5);    // hand
    EXPECT_DOUBLE_EQ(g.slope, 0.6);  // hand
    EXPECT_DOUBLE_EQ(g.interc, 2.2); // hand: 4 - 0.6 * 3
    EXPECT_DOUBLE_EQ(g.R2, 0.6);     // hand: 2.25 / 3.75
    EXPECT_REL(g.p, 0.1240270627, 1e-8);            // ref
    EXPECT_REL(g.slopeLowCI, -0.3001317453, 1e-8);  // ref
    EXPECT_REL(g.slopeUppCI, 1.500131745, 1e-8);    // ref
    EXPECT_REL(g.intercLowCI, -0.7167602178, 1e-8); // ref
    EXPECT_REL(g.intercUppCI, 5.116760218, 1e-8);   // ref
    EXPECT_DOUBLE_EQ(g.residAxis[0], 2.0); // hand: point (5, 5): 5 - 0.6 * 5
    EXPECT_EQ(s.slopeDecimals, 4);  // hand: trunc(4 - log10 0.6)
    EXPECT_EQ(s.intercDecimals, 3); // hand: trunc(4 - log10 2.2)
    // py: 90 % confidence uses the 0.95 t quantile
    const summary_stats g90 = fittedExample(0, 1, 90).groups["one"];
    EXPECT_REL(g90.slopeLowCI, -0.06563169734, 1e-8);
    EXPECT_REL(g90.intercLowCI, 0.04310678446, 1e-8);
}

TEST(IndividualFits, WorkedExampleByStandardisedAndMajorAxis)
{
    const summary_stats sma = fittedExample(1, 1, 95).groups["one"];
    EXPECT_DOUBLE_EQ(sma.slope, std::sqrt(0.6));     // hand: sqrt(1.5 / 2.5)
    EXPECT_REL(sma.slopeLowCI, 0.2874023211, 1e-8);  // ref
    EXPECT_REL(sma.slopeUppCI, 2.087665812, 1e-8);   // ref
    EXPECT_REL(sma.intercLowCI, -1.266893911, 1e-8); // ref
    EXPECT_REL(sma.p, 0.1240270627, 1e-8);           // ref: always the least-squares test
    const summary_stats ma = fittedExample(2, 1, 95).groups["one"];
    EXPECT_DOUBLE_EQ(ma.slope, (-1 + std::sqrt(10.0)) / 3); // hand
    EXPECT_REL(ma.varSlope, 0.1154430785, 1e-8);            // ref
    EXPECT_REL(ma.intercUppCI, 5.274586218, 1e-8);          // ref
    EXPECT_TRUE(std::isnan(ma.slopeLowCI)); // ref: root of a negative number, NaN limits
    EXPECT_TRUE(std::isnan(ma.slopeUppCI));
    // py: X 1..6, Y 10,8,9,5,4,3: SMA slope -sqrt(8.3 / 3.5), limits in order
    SMAstats s;
    s.method = 1;
    addGroup(s, "neg", {1, 2, 3, 4, 5, 6}, {10, 8, 9, 5, 4, 3});
    profile prof;
    s.fit_individual(prof);
    EXPECT_REL(s.groups["neg"].slope, -1.53994434, 1e-8);
    EXPECT_REL(s.groups["neg"].slopeLowCI, -2.37965611, 1e-8);
    EXPECT_REL(s.groups["neg"].slopeUppCI, -0.9965425515, 1e-8);
}

TEST(IndividualFits, CatsByLeastSquaresMatchReference)
{
    SMAstats s = fittedCats(0, 1);
    // ref: cats OLS with intercept: slope, low, upp, interc, low, upp, R2, p
    const std::pair<const char*, std::vector<double>> expected[] = {
        {"F", {2.636414048, 1.376696303, 3.896131793, 2.981312384, -0.0102100346, 5.972834804, 0.2830768476,
               0.000118617016}},
        {"M", {4.312678742, 3.637903528, 4.987453955, -1.184087938, -3.165680635, 0.7975047579, 0.6288960106,
               3.639856152e-22}}};
    for (const auto& e : expected) {
        const summary_stats& g = s.groups[e.first];
        const double got[] = {g.slope, g.slopeLowCI, g.slopeUppCI, g.interc, g.intercLowCI, g.intercUppCI, g.R2, g.p};
        for (std::size_t k = 0; k < 8; ++k) {
            // limits: absolute 1e-8, the accuracy of the library's t quantile (2e-9 relative)
            const double tol = k < 6 ? 1e-8 * std::fmax(1, std::fabs(e.second[k])) : 1e-8 * e.second[k];
            EXPECT_NEAR(got[k], e.second[k], tol) << e.first << " column " << k;
        }
    }
}

TEST(IndividualFits, LineThroughOrigin)
{
    SMAstats s = fittedCats(0, 0);
    const summary_stats& f = s.groups["F"];
    EXPECT_REL(f.SXX, 5.64106383, 1e-8);         // ref: raw second moment over n
    EXPECT_REL(f.slope, 3.8834534, 1e-8);        // ref
    EXPECT_REL(f.slopeLowCI, 3.733481911, 1e-8); // ref: t quantile with n - 1 = 46 df
    EXPECT_REL(f.slopeUppCI, 4.03342489, 1e-8);  // ref
    EXPECT_REL(f.p, 7.34783432e-11, 1e-6);       // ref: F(1, n - 2) still
    EXPECT_REL(s.groups["M"].p, 9.74168152e-17, 1e-6); // ref
    for (const auto& e : s.groups) {
        const summary_stats& g = e.second;
        EXPECT_TRUE(g.interc == 0 && g.intercLowCI == 0 && g.intercUppCI == 0 && g.varInterc == 0) << e.first;
    }
    EXPECT_EQ(s.slopeDecimals, 3);  // hand: trunc(4 - log10 3.9)
    EXPECT_EQ(s.intercDecimals, 0); // settled: a zero intercept leaves the decimals as they were
    // Report: ref slope and limits of F with 3 decimals, zero intercepts with 0, no H0_a block.
    profile prof;
    prof.intercept = 0;
    prof.H0_a = 1.0;
    const std::string text = reportOf([&](std::ofstream& out) { s.print_individual_details(prof, out); });
    EXPECT_NE(text.find("F      \t47\t"), std::string::npos) << text;
    EXPECT_NE(text.find("\t3.883  \t3.733  \t4.033  \t0      \t0      \t0      \t"), std::string::npos) << text;
    EXPECT_EQ(text.find("H0_a"), std::string::npos);
}

TEST(IndividualFits, MeasurementErrorReducesVariancesOnly)
{
    SMAstats s;
    s.method = 0;
    s.measErrX = 0.5;
    s.measErrY = 0.25;
    addGroup(s, "one", {5, 4, 3, 2, 1}, {5, 4, 5, 4, 2});
    profile prof;
    s.fit_individual(prof);
    const summary_stats& g = s.groups["one"];
    EXPECT_DOUBLE_EQ(g.SXX, 2.0);        // hand: 2.5 - 0.5
    EXPECT_DOUBLE_EQ(g.SYY, 1.25);       // hand: 1.5 - 0.25
    EXPECT_DOUBLE_EQ(g.SXY, 1.5);        // hand: unchanged
    EXPECT_DOUBLE_EQ(g.R2, 0.9);         // hand: 2.25 / 2.5
    EXPECT_DOUBLE_EQ(g.slope, 0.75);     // hand: 1.5 / 2
    EXPECT_DOUBLE_EQ(g.varResid, 0.125); // hand: 1.25 - 2.25 + 1.125
}

TEST(LinesReport, HeaderAndRowWithTwoSlopeDecimals)
{
    // Worked example with Y times 100: slope 60 (2 decimals), intercept 220 (1).
    SMAstats s = fittedExample(0, 1, 95, {500, 400, 500, 400, 200});
    profile prof;
    prof.method = 0;
    const std::string text = reportOf([&](std::ofstream& out) { s.print_individual_details(prof, out); });
    // py: ref's worked-example values times 100, printed with %-*.*f
    EXPECT_EQ(text, "\nOLS results\n" + kBaseHeader +
                        "\none    \t5\t0.600  \t0.124  \t60.00  \t-30.01 \t150.01 \t220.0  \t-71.7  \t511.7  "
                        "\t400.000\t3.000  \t\n");
}

TEST(LinesReport, FiveSlopeDecimalsWithHypothesisBlocks)
{
    // Worked example with Y divided by 10, SMA: slope 0.0775 (5 decimals), intercept 0.168 (4).
    SMAstats s = fittedExample(1, 1, 95, {0.5, 0.4, 0.5, 0.4, 0.2});
    profile prof;
    prof.H0_b = 0.1;
    prof.H0_a = 0.5;
    const std::string text = reportOf([&](std::ofstream& out) { s.print_individual_details(prof, out); });
    // py: slope test F = 0.5, p = 0.5304777709 (F(1, 3)); intercept T = -3.594090992, p = 0.0369160937
    EXPECT_EQ(text, "\nSMA results\n"
                    "Group  \tn      \tR2     \tp      \tSlope    \tLowCI    \tUppCI    \tInterc  \tLowCI   "
                    "\tUppCI   \tYmean  \tXmean  \tH0_b     \tF      \tp      \tH0_a    \tT      \tp      \n"
                    "one    \t5\t0.600  \t0.124  \t0.07746  \t0.02874  \t0.20877  \t0.1676  \t-0.1267 \t0.4619  "
                    "\t0.400  \t3.000  \t0.100    \t0.500  \t0.530  \t0.500   \t-3.594 \t0.037  \n");
}
