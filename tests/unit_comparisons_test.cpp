// Significance matrix, Wald test among group means and the pairwise
// elevation/shift tables, called directly. Expected values: matrix texts from
// the program's description (its three-group example and rules); hand data
// worked out by hand as shown, p-values by scipy.stats.chi2.sf in
// /usr/bin/python3; cats and iris from tests/reference/reference_output.txt.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "SMAstats.h"
#include "profile.h"
#include "signif_matrix.h"

namespace {
const auto noString = std::string::npos;

// The matrix of groups sorted by slope; the stream is fixed and left-adjusted
// as the report is after the earlier blocks.
std::string matrixText(const GroupMap& g, const std::function<double(int, int)>& pairP)
{
    std::ostringstream s;
    s << std::fixed << std::left;
    writeSignificanceMatrix(s, 0.05, "slope", sortedGroups(g, [](const summary_stats& x) { return x.slope; }), 7,
                            pairP);
    return s.str();
}

summary_stats valued(double slope, int n)
{
    summary_stats g;
    g.slope = slope;
    g.n = n;
    return g;
}

// A group as the Wald test reads it.
summary_stats waldGroup(double Xmean, double Ymean, double varSlope, std::vector<double> resid,
                        std::vector<double> fitted = {})
{
    summary_stats g;
    g.n = static_cast<int>(resid.size());
    g.Xmean = Xmean;
    g.Ymean = Ymean;
    g.varSlope = varSlope;
    g.residAxis = std::move(resid);
    g.fittedAxis = fitted.empty() ? g.residAxis : std::move(fitted);
    return g;
}

// Hand example, SMA, B = 2, test 3:
//  a: n 4, m = 3 - 2*1 = 1, resid var 2.5/3, v = 2.5/3*3/2/4 = 0.3125, varSlope 0.5, h = 1
//  b: n 5, m = 6 - 2*2 = 2, resid var 2/4,   v = 0.5*4/3/5 = 2/15,     varSlope 0.25, h = 2
//  varB = 1/(2 + 4) = 1/6; V00 = 0.3125 + 1/6, V11 = 2/15 + 4/6, V01 = 2/6
//  W = (1 - 2)^2 / (V00 + V11 - 2 V01) = 1/0.6125 = 80/49, p = 0.2013364853
//  A_com = sum(inv(V) m) / sum(inv(V) 1) = 26/21 (numpy)
SMAstats handPair(const std::string& first = "a")
{
    SMAstats st;
    st.method = 1;
    st.commonSlope = 2;
    st.groups[first] = waldGroup(1, 3, 0.5, {0.5, 1.5, 0.0, 2.0});
    st.groups["b"] = waldGroup(2, 6, 0.25, {1, 2, 3, 2, 2});
    return st;
}
const double handP = 0.20133648528739703;

// SMA with intercept on a data file's groups: individual fits, then common slope B.
SMAstats smaAtCommonSlope(const std::string& relative, std::size_t gcol, std::size_t ycol, std::size_t xcol, double B)
{
    std::ifstream f(std::string(KORVEL_SOURCE_DIR) + "/" + relative);
    SMAstats st;
    std::string line;
    for (std::getline(f, line); std::getline(f, line);) {
        std::vector<std::string> c;
        std::stringstream s(line);
        for (std::string cell; std::getline(s, cell, '\t');)
            c.push_back(cell);
        if (c.size() <= std::max({gcol, ycol, xcol}))
            continue;
        summary_stats& g = st.groups[c[gcol]];
        g.X.push_back(std::stod(c[xcol]));
        g.Y.push_back(std::stod(c[ycol]));
        g.n = static_cast<int>(g.X.size());
        g.residAxis.resize(g.X.size());
        g.fittedAxis.resize(g.X.size());
    }
    st.fit_lines(st.groups, true);
    st.commonSlope = B;
    st.applyCommonSlope();
    return st;
}

std::string readFile(const std::string& path)
{
    std::ifstream f(path);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}
} // namespace

TEST(SignificanceMatrix, ThreeGroupExampleByteForByteWithPEqualToCritMarkedX)
{
    GroupMap g{{"A", valued(0.8, 12)}, {"B", valued(1.1, 15)}, {"C", valued(1.2, 9)}};
    // A (0) and C (2) differ; A-B has p exactly 0.05, which still reads "x".
    const auto p = [](int i, int j) { return i + j == 2 ? 0.01 : i + j == 1 ? 0.05 : 0.4; };
    EXPECT_EQ(matrixText(g, p), "\nSorted pair-wise significance matrix for critical p = 0.050; x is indicated where p > 0.050"
                                "\nCode\tGroup  \tslope   \tn\t|123|"
                                "\n1\tA      \t0.800   \t12\t|0x |"
                                "\n2\tB      \t1.100   \t15\t|x0x|"
                                "\n3\tC      \t1.200   \t9\t| x0|\n");
}

TEST(SignificanceMatrix, TenthAndEleventhGroupCodesAndEqualValues)
{
    GroupMap g;
    for (int k = 0; k < 11; ++k)
        g["g" + std::to_string(10 + k)] = valued(k, 6);
    std::string text = matrixText(g, [](int, int) { return 0.5; });
    EXPECT_NE(text.find("\tn\t|123456789:;|"), noString) << text;
    EXPECT_NE(text.find("\n:\tg19    \t9.000   \t6\t|xxxxxxxxx0x|"), noString) << text;
    EXPECT_NE(text.find("\n;\tg20    \t10.000  \t6\t|xxxxxxxxxx0|\n"), noString) << text;

    // Equal values: the group later in map order is listed first. Only the pair
    // a (index 0) - b (index 1) differs.
    GroupMap eq{{"a", valued(1.0, 6)}, {"b", valued(1.0, 7)}, {"c", valued(0.5, 8)}, {"d", valued(1.0, 9)}};
    text = matrixText(eq, [](int i, int j) { return i + j == 1 ? 0.01 : 0.5; });
    EXPECT_NE(text.find("|1234|\n1\tc      \t0.500   \t8\t|0xxx|\n2\td      \t1.000   \t9\t|x0xx|\n"
                        "3\tb      \t1.000   \t7\t|xx0 |\n4\ta      \t1.000   \t6\t|xx 0|\n"),
              noString)
        << text;
}

TEST(WaldTest, TwoGroupsFollowTheClosedForm)
{
    SMAstats st = handPair();
    const WaldResult r = st.waldTest(st.groups, 3, 0.05);
    EXPECT_EQ(r.k, 1);
    EXPECT_NEAR(r.W, 80.0 / 49.0, 1e-12);
    EXPECT_NEAR(r.p, handP, 1e-12);
    ASSERT_TRUE(r.hasAcom);
    EXPECT_NEAR(r.Acom, 26.0 / 21.0, 1e-12);
    // With a's data named z, b is the contrasts' reference: same W and A_com.
    SMAstats swapped = handPair("z");
    EXPECT_NEAR(swapped.waldTest(swapped.groups, 3, 0.05).W, 80.0 / 49.0, 1e-12);
    EXPECT_NEAR(swapped.waldTest(swapped.groups, 3, 0.05).Acom, 26.0 / 21.0, 1e-12);
    // p exactly equal to crit_p: no common value.
    EXPECT_FALSE(st.waldTest(st.groups, 3, r.p).hasAcom);
    EXPECT_TRUE(st.waldTest(st.groups, 3, std::nextafter(r.p, 0.0)).hasAcom);
}

TEST(WaldTest, OlsShiftTestIgnoresTheSlopeVariance)
{
    // Fitted axis = X: a {1,2,3,4} mean 2.5, v = (5/3)*3/2/4 = 0.625; b {3..7}
    // mean 5, v = 2.5*4/3/5 = 2/3. W = 2.5^2 / (0.625 + 2/3) = 150/31, p 0.02783.
    for (double varSlope : {1e-6, 1.0, 1e6}) {
        SMAstats st;
        st.method = 0;
        st.commonSlope = 0.7;
        st.groups["a"] = waldGroup(2.5, 9, varSlope, {0, 0, 0, 0}, {1, 2, 3, 4});
        st.groups["b"] = waldGroup(5, 1, 3 * varSlope, {0, 0, 0, 0, 0}, {3, 4, 5, 6, 7});
        const WaldResult r = st.waldTest(st.groups, 2, 0.05);
        EXPECT_NEAR(r.W, 150.0 / 31.0, 1e-12) << varSlope;
        EXPECT_NEAR(r.p, 0.02782770934042806, 1e-12) << varSlope;
        EXPECT_FALSE(r.hasAcom);
    }
}

TEST(WaldTest, EqualMeansGiveZeroStatisticAndThatMean)
{
    SMAstats st = handPair(); // Ymean - 2 Xmean = 1 in all three groups
    st.groups["b"].Ymean = 5;
    st.groups["c"] = waldGroup(3, 7, 0.1, {1, 1.4, 0.6, 1.2, 0.8, 1});
    const WaldResult r = st.waldTest(st.groups, 3, 0.05);
    EXPECT_EQ(r.k, 2);
    EXPECT_NEAR(r.W, 0.0, 1e-12);
    EXPECT_NEAR(r.p, 1.0, 1e-12);
    ASSERT_TRUE(r.hasAcom);
    EXPECT_NEAR(r.Acom, 1.0, 1e-12);
}

TEST(WaldTest, SmallGroupOrSingularMatrixGivesNaN)
{
    SMAstats st = handPair();
    st.groups["c"] = waldGroup(1, 1, 0.3, {0.1, 0.2}); // two points
    WaldResult r = st.waldTest(st.groups, 3, 0.05);
    EXPECT_TRUE(std::isnan(r.W) && std::isnan(r.p) && !r.hasAcom);

    SMAstats flat; // OLS shift test, constant fitted scores: K = 0
    flat.method = 0;
    flat.groups["a"] = waldGroup(2, 0, 1, {0, 0, 0}, {2, 2, 2});
    flat.groups["b"] = waldGroup(3, 0, 1, {0, 0, 0}, {3, 3, 3});
    r = flat.waldTest(flat.groups, 2, 0.05);
    EXPECT_TRUE(std::isnan(r.W) && std::isnan(r.p));
}

TEST(WaldTest, CatsAndIrisAtTheCommonSlopeMatchTheReference)
{
    SMAstats cats = smaAtCommonSlope("examples/input.txt", 0, 2, 1, 5.338004224);
    const WaldResult elev = cats.waldTest(cats.groups, 3, 0.05);
    EXPECT_EQ(elev.k, 1);
    EXPECT_NEAR(elev.W, 6.207706327, 1e-6);
    EXPECT_NEAR(elev.p, 0.01271953326, 1e-8);
    EXPECT_FALSE(elev.hasAcom);
    EXPECT_NEAR(cats.waldTest(cats.groups, 3, 0.01).Acom, -2.799741809, 1e-6);
    const WaldResult shift = cats.waldTest(cats.groups, 2, 0.05);
    EXPECT_NEAR(shift.W, 63.32274758, 1e-5);
    EXPECT_NEAR(shift.p / 1.754662504e-15, 1.0, 1e-5);

    // Iris Petal.Length on Sepal.Length, grouped by column 4, SMA common slope.
    SMAstats iris = smaAtCommonSlope("tests/data/iris.txt", 4, 2, 0, 0.8155522851);
    EXPECT_EQ(iris.waldTest(iris.groups, 3, 0.05).k, 2);
    EXPECT_NEAR(iris.waldTest(iris.groups, 3, 0.05).W, 1117.258352, 1e-4);
    EXPECT_NEAR(iris.waldTest(iris.groups, 2, 0.05).W, 1379.617697, 1e-4);
    GroupMap pair{*iris.groups.find("setosa"), *iris.groups.find("versicolor")};
    EXPECT_NEAR(iris.waldTest(pair, 2, 0.05).W, 646.7815927, 1e-4);
}

TEST(WaldReport, ResultLinesIncludingNaN)
{
    const std::string path = testing::TempDir() + "/korvel_wald_lines.txt";
    SMAstats st = handPair();
    double stat = 0;
    {
        std::ofstream out(path);
        EXPECT_NEAR(st.walds(st.groups, 3, stat, true, out, 0.05), handP, 1e-12);
        EXPECT_NEAR(stat, 80.0 / 49.0, 1e-12);
        st.groups["c"] = waldGroup(1, 1, 0.3, {0.1, 0.2});
        st.walds(st.groups, 3, stat, true, out, 0.05);
    }
    // W 80/49 = 1.633, p 0.201, A_com 26/21 = 1.238; then the NaN result.
    EXPECT_EQ(readFile(path), " using WALD statistic\ndf\tstat\tp\tA_com\n1\t1.633  \t0.201  \t1.238\n"
                              " using WALD statistic\ndf\tstat\tp\tA_com\n2\tnan    \tnan    \tna\n");
}

TEST(ComparisonPostHoc, SecondNumberIsDifferenceOverRootOfStatistic)
{
    const std::string path = testing::TempDir() + "/korvel_pairs.txt";
    SMAstats st = handPair();
    st.groups["c"] = st.groups["a"]; // same mean as a: statistic 0 for that pair
    st.groups["a"].residMean = st.groups["c"].residMean = 1; // test 3 group values
    st.groups["b"].residMean = 2;
    {
        std::ofstream out(path);
        st.ANCOVA_post(st.groups, 3, 0.05, out);
    }
    const std::string text = readFile(path);
    // a-b: |1 - 2| / sqrt(80/49) = 0.783, df 1, p 0.201; a-c: 0 / sqrt(0) is nan, p 1.
    EXPECT_NE(text.find("\na      \t(1.0                    )\t(1.000 ,0.783 ,1  ,0.201)\t(0.000 ,nan   ,1  ,1.000)\t\n"),
              noString)
        << text;
    EXPECT_NE(text.find("\np-values only\nGroup  \ta      \tb      \tc      \t\na      \t1.0    \t0.2013 \t1.0000 \t\n"),
              noString)
        << text;
    // a and c have equal means: c (later by name) first; no pair has p < 0.05.
    EXPECT_NE(text.find("\tmean    \tn\t|123|\n1\tc      \t1.000   \t4\t|0xx|\n2\ta      \t1.000   \t4\t|x0x|\n"),
              noString)
        << text;
}

TEST(ComparisonScreen, NoGroupsOrOneGroupReturnsWithoutAskingOrWriting)
{
    const std::string path = testing::TempDir() + "/korvel_screen.txt";
    profile prof;
    {
        std::ofstream out(path);
        SMAstats none;
        none.ANCOVA(prof, out);
        SMAstats one = handPair();
        one.groups.erase("b");
        one.ANCOVA(prof, out);
    }
    EXPECT_EQ(readFile(path), "");
}
