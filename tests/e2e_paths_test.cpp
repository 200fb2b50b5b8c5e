// Every path of an analysis, end to end, with the numbers checked at the
// printed precision against an independent calculation:
//  - tests/reference/reference_output.txt (reference.py, cross-checked against
//    scipy) for cats Hwt ~ Bwt by Sex and iris Petal.Length ~ Sepal.Length by
//    Species: OLS, SMA, MA x intercept yes/no x transformation none/log10, with
//    the tests against H0 slope 1 and H0 intercept 1 and the Wald tests;
//  - tests/reference/paths_extra.py (same formulas, /usr/bin/python3 with
//    numpy/scipy) for the natural logarithm and for measurement error.
// The tables hold those values (7 significant digits, or 10 where 7 would round
// differently); the test rounds them as the report does. Decimals of slopes and
// intercepts: max over groups of trunc(4 - log10|v|), width max(decimals + 4, 7).
// Two rules of the system description decide two expectations: through the
// origin on log10 data the correlation test's F is negative (reference: -62.2
// and -151.1), outside the F distribution, so its p is NaN ("nan"); and a
// resampling p-value is count / N with 1 <= count <= N.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e_support.h"

namespace {

const std::string kSep = std::string(100, '-') + "\n\n";

std::string fx(double v, int decimals, int width = 0)
{
    std::ostringstream s;
    s << std::fixed << std::left << std::setprecision(decimals) << std::setw(width) << v;
    return s.str();
}

std::string pad(const std::string& text, std::size_t width)
{
    return text.size() < width ? text + std::string(width - text.size(), ' ') : text;
}

int decimals(const std::vector<double>& values)
{
    int d = 0;
    for (double v : values)
        if (v != 0 && std::isfinite(v))
            d = std::max(d, static_cast<int>(std::trunc(4 - std::log10(std::fabs(v)))));
    return d;
}

void expectIn(const std::string& text, const std::string& piece, const std::string& where)
{
    EXPECT_NE(text.find(piece), std::string::npos) << where << ": missing\n[" << piece << "]\nin\n" << text;
}

std::vector<std::string> sections(const std::string& report)
{
    std::vector<std::string> parts;
    for (std::size_t from = 0, at; (at = report.find(kSep, from)) != std::string::npos; from = at + kSep.size())
        parts.push_back(report.substr(from, at - from));
    return parts;
}

// One group of the individual-lines table; F1, pF1: test of slope = 1;
// T1, pT1: test of intercept = 1 (lines with an intercept only).
struct Row {
    const char* group;
    int n;
    double R2, p, b, bLo, bUp, a, aLo, aUp, Ymean, Xmean, F1, pF1, T1, pT1;
};
// The common slope, its limits, statistic and chi-squared p; T0, p0: test of
// the common slope = 1 (printed with the limits when p > 0.05).
struct Common {
    double b, lo, up, T, p, T0, p0;
};
struct Analysis {
    const char* keys;  // typed on the two screens before the analysis
    int method;
    bool intercept;
    const char* prefix;  // "log ", "ln " or ""
    std::vector<Row> rows;
    Common common;
    const char* answers = "n\n";
    bool measError = false;
};

std::vector<double> slopesOf(const Analysis& a)
{
    std::vector<double> slopes;
    for (const Row& r : a.rows)
        slopes.push_back(r.b);
    return slopes;
}

std::string individualLines(const Analysis& a)
{
    std::vector<double> intercepts;
    for (const Row& r : a.rows)
        intercepts.push_back(r.a);
    const int sd = decimals(slopesOf(a)), id = decimals(intercepts), sw = std::max(sd + 4, 7), iw = std::max(id + 4, 7);
    std::string s;
    for (const Row& r : a.rows) {
        s += pad(r.group, 7) + "\t" + std::to_string(r.n) + "\t" + fx(r.R2, 3, 7) + "\t" + fx(r.p, 3, 7) + "\t";
        for (double v : {r.b, r.bLo, r.bUp})
            s += fx(v, sd, sw) + "\t";
        for (double v : {r.a, r.aLo, r.aUp})
            s += fx(v, id, iw) + "\t";
        s += fx(r.Ymean, 3, 7) + "\t" + fx(r.Xmean, 3, 7) + "\t" + fx(1, 3, sw) + "\t" + fx(r.F1, 3, 7) + "\t" +
             fx(r.pF1, 3, 7) + "\t";
        s += (a.intercept ? fx(1, 3, iw) + "\t" + fx(r.T1, 3, 7) + "\t" + fx(r.pT1, 3, 7) : "") + "\n";
    }
    return s;
}

// The common-slope row (limits when p > 0.05, then the test of slope = 1 when
// withH0) and the statistic line, p with D = 3 decimals.
std::string commonSlope(const std::vector<double>& slopes, const Common& c, int N, bool withH0)
{
    const int sd = decimals(slopes), sw = std::max(sd + 4, 7);
    std::string s = "\n" + pad(std::to_string(slopes.size()), 7) + "\t" + pad(std::to_string(N), 7) + "\t" +
                    fx(c.b, sd, sw) + "\t";
    if (c.p > 0.05)
        s += fx(c.lo, sd, sw) + "\t" + fx(c.up, sd, sw) + "\t" +
             (withH0 ? fx(1, sd, sw) + "\t" + fx(c.T0, 3, 7) + "\t" + fx(c.p0, 3, 7) : "");
    return s + "\n\nTest statistic:\t" + fx(c.T, 3) + "\tp =\t" + fx(c.p, 3) + "\n";
}

std::string waldLine(int df, double W, double p)
{
    return "df\tstat\tp\tA_com\n" + std::to_string(df) + "\t" + fx(W, 3, 7) + "\t" + fx(p, 3, 7) + "\tna\n";
}

// Cats, Hwt on Bwt by Sex, one run (R 0; H0 slope and intercept 1 from the
// first analysis on): every method with and without intercept on log10 data,
// three on untransformed data (SMA with an intercept is in e2e_batch_test.cpp),
// ln, then measurement error (Bwt 0.01, Hwt 0.1) with both Wald tests.
const std::vector<Analysis> kCats = {
    {"R 0\nL\nG 0\nY 2\nX 1\nT 0\nB 1\nA 1\nL\n", 1, true, "log ",
     {{"F", 47, 0.2703112, 0.0001800495, 1.345023, 1.043591, 1.73352, 0.4613513, 0.3323018, 0.5904009,
       0.9591673, 0.3701172, 5.578855, 0.02256531, -8.4068, 0},
      {"M", 97, 0.6389868, 0, 1.375063, 1.21704, 1.553604, 0.4151658, 0.3373045, 0.4930271,
       1.043198, 0.4567294, 27.60923088, 9.087326e-07, -14.91168129, 0}},
     {1.369203, 1.226871, 1.528125, 0.0241337, 0.8765452, 29.28598283, 6.244578e-08}},
    {"T 0\nL\nL\n", 1, false, "log ",
     {{"F", 47, 0.9879502, NAN, 2.575842, 2.493292, 2.661126, 0, 0, 0, 0.9591673, 0.3701172, 4468.034848, 0, 0, 0},
      {"M", 97, 0.9906881, NAN, 2.267031, 2.223144, 2.311784, 0, 0, 0, 1.043198, 0.4567294, 8503.412508, 0, 0, 0}},
     {2.316774, 2.269733, 2.366685, 34.77178575, 0, 605.1661102, 0}},
    {"M 0\nL\nL\n", 0, false, "log ",
     {{"F", 47, 0.9879502, NAN, 2.560276, 2.475431, 2.645121, 0, 0, 0, 0.9591673, 0.3701172, 1370.241833, 0, 0, 0},
      {"M", 97, 0.9906881, NAN, 2.256451, 2.211899, 2.301003, 0, 0, 0, 1.043198, 0.4567294, 3133.744239, 0, 0, 0}},
     {2.303037, 2.252943, 2.346444, 31.67377883, 0, 461.9584067, 0}},
    {"T 1\nL\nL\n", 0, true, "log ",
     {{"F", 47, 0.2703112, 0.0001800495, 0.6992969, 0.3543327, 1.044261, 0.7003455483, 0.5716241, 0.829067,
       0.9591673, 0.3701172, 3.082417, 0.085948, -4.688689, 2.573678e-05},
      {"M", 97, 0.6389868, 0, 1.099179, 0.9308973, 1.267461, 0.54117, 0.4634087, 0.6189314,
       1.043198, 0.4567294, 1.368983, 0.2449137, -11.71394992, 0}},
     {0.9979327, 0.8661764865, 1.181534, 4.317788, 0.03771592, -0.01742298, 1}},
    {"M 2\nL\nL\n", 2, true, "log ",
     {{"F", 47, 0.2703112, 0.0001800495, 1.733775, 1.086961, 3.203404, 0.3174673, 0.0001509004, 0.6347837,
       0.9591673, 0.3701172, 5.578855, 0.02256531, -4.332242, 8.170319e-05},
      {"M", 97, 0.6389868, 0, 1.48419, 1.277665, 1.739602, 0.3653245, 0.2607289, 0.4699201,
       1.043198, 0.4567294, 27.60923088, 9.087326e-07, -12.04630258, 0}},
     {1.507334, 1.306395, 1.754015, 0.3814111, 0.536849, 28.92870541, 7.50918e-08}},
    {"T 0\nL\nL\n", 2, false, "log ",
     {{"F", 47, 0.9879502, NAN, 2.587408, 2.504943, 2.674714, 0, 0, 0, 0.9591673, 0.3701172, 4468.034848, 0, 0, 0},
      {"M", 97, 0.9906881, NAN, 2.274201, 2.230254, 2.319619, 0, 0, 0, 1.043198, 0.4567294, 8503.412508, 0, 0, 0}},
     {2.329698, 2.280852, 2.382498, 36.54585346, 0, 603.3920425, 0}},
    {"L\nT 2\nL\n", 2, false, "",
     {{"F", 47, 0.9837064, 0, 3.943834, 3.798403, 4.100094, 0, 0, 0, 9.202128, 2.359574, 9249.506038, 0, 0, 0},
      {"M", 97, 0.9821028, 0, 3.981646, 3.875481, 4.093419, 0, 0, 0, 11.32268, 2.9, 18137.11386, 0, 0, 0}},
     {3.96858, 3.882694, 4.058338, 0.1635287, 0.6859283, 744.4244707, 0}},
    {"T 1\nM 0\nL\nL\n", 0, true, "",
     {{"F", 47, 0.2830768, 0.000118617, 2.636414, 1.376696, 3.896132, 2.981312, -0.01021003, 5.972835,
       9.202128, 2.359574, 6.845472, 0.01205569, 1.333959, 0.1889295},
      {"M", 97, 0.628896, 0, 4.312679, 3.637904, 4.987454, -1.184088, -3.165681, 0.7975048,
       11.32268, 2.9, 94.98854763, 0, -2.18812, 0.0311132}},
     {3.777851, 3.3072, 4.594506, 5.608758, 0.01787092, 66.18938179, 0}},
    {"M 2\nL\nL\n", 2, true, "",
     {{"F", 47, 0.2830768, 0.000118617, 9.044681, 6.103387, 17.27294424, -12.13947, -22.35542431, -1.923516,
       9.202128, 2.359574, 354.5583294, 0, -2.590483, 0.01287134},
      {"M", 97, 0.628896, 0, 6.773303, 5.853852, 8.025451, -8.319898, -11.41774064, -5.222054,
       11.32268, 2.9, 1766.874417, 0, -5.972651, 0}},
     {7.059652, 6.131807, 8.303509, 1.619877, 0.2031089, 376.7358215, 0}},
    {"M 1\nL\nT 1\nL\n", 1, true, "ln ",
     {{"F", 47, 0.2703112, 0.0001800495, 1.345023, 1.043591, 1.73352, 1.062301, 0.7651531, 1.359448,
       2.208564, 0.8522263, 5.578855, 0.02256531, 0.422282, 0.6748301},
      {"M", 97, 0.6389868, 0, 1.375063, 1.21704, 1.553604, 0.9559546, 0.7766724, 1.135237,
       2.402051, 1.051658, 27.60923088, 9.087326e-07, -0.4877288, 0.6268657}},
     {1.369203, 1.226871, 1.528125, 0.0241337, 0.8765452, 29.28598283, 6.244578e-08}},
    {"E 1\nM 2\nL\nT 2\nL\n", 2, true, "",
     {{"F", 47, 0.3453146, 4.469849e-06, 8.595713, 6.067617, 14.62025782, -11.08009635, -19.48122444, -2.678968,
       9.202128, 2.359574, 426.6410409, 0, -2.896107, 0.00581318},
      {"M", 97, 0.6694101, 0, 6.679877, 5.840835, 7.792234, -8.048963, -10.84421714, -5.253708,
       11.32268, 2.9, 2050.76397, 0, -6.426772, 0}},
     {6.938143, 6.100882, 8.030464, 1.574906, 0.209496, 397.5721693, 0},
     "0.01 0.1\ny\nr\nn\nf\nn\nx\n", true}};

// Table 1, p-values only and the sorted matrix of a post-hoc comparison of
// elevation or shift; p[i][j] and the Wald W of each pair, diff = |value i - value j|.
// The second number of table 1 is the standard error of the difference, diff / sqrt(W).
std::string postHoc(const std::vector<std::string>& names, const std::vector<int>& n, const std::vector<double>& value,
                    const std::vector<std::vector<double>>& W, const std::vector<std::vector<double>>& p)
{
    std::size_t w = 7;
    for (const std::string& name : names)
        w = std::max(w, name.size());
    const std::size_t g = names.size();
    std::string s = "Difference, standard error, df, p-value\n" + pad("Group", w) + "\t", t;
    for (const std::string& name : names)
        s += pad(name, 25) + "\t", t += pad(name, w) + "\t";
    s += "\n";
    std::string only = "\np-values only\n" + pad("Group", w) + "\t" + t + "\n";
    for (std::size_t r = 0; r < g; ++r) {
        s += pad(names[r], w) + "\t", only += pad(names[r], w) + "\t";
        for (std::size_t c = 0; c < g; ++c) {
            const double diff = std::fabs(value[r] - value[c]);
            s += (r == c ? "(" + fx(1, 1, 23) : "(" + fx(diff, 3, 6) + "," + fx(diff / std::sqrt(W[r][c]), 3, 6) +
                                                    ",1  ," + fx(p[r][c], 3)) + ")\t";
            only += (r == c ? fx(1, 1, w) : fx(p[r][c], 4, w)) + "\t";
        }
        s += "\n", only += "\n";
    }
    std::vector<std::size_t> order(g);
    for (std::size_t i = 0; i < g; ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return value[a] < value[b]; });
    std::string m = "\nSorted pair-wise significance matrix for critical p = 0.050; x is indicated where p > 0.050\n"
                    "Code\t" + pad("Group", w) + "\tmean    \tn\t|" + std::string("123").substr(0, g) + "|";
    for (std::size_t k = 0; k < g; ++k) {
        m += "\n" + std::string(1, char('1' + k)) + "\t" + pad(names[order[k]], w) + "\t" + fx(value[order[k]], 3, 8) +
             "\t" + std::to_string(n[order[k]]) + "\t|";
        for (std::size_t c = 0; c < g; ++c)
            m += k == c ? "0" : p[order[k]][order[c]] < 0.05 ? " " : "x";
        m += "|";
    }
    return s + only + m + "\n";
}

}  // namespace

TEST(PathsEndToEnd, EveryMethodInterceptAndTransformationInOneRun)
{
    TempDir d;
    d.copyFromSource("examples/input.txt", "input.txt");
    std::string input;
    for (const Analysis& a : kCats)
        input += std::string(a.keys) + a.answers;
    const RunResult r = runKorvel(d, input + "x\n");
    EXPECT_EQ(r.status, 1);
    const std::vector<std::string> parts = sections(d.read("output.txt"));
    ASSERT_EQ(parts.size(), kCats.size());
    for (std::size_t i = 0; i < kCats.size(); ++i) {
        const Analysis& a = kCats[i];
        const std::string where = "analysis " + std::to_string(i + 1) + " after [" + a.keys + "]";
        const std::string title = std::string(a.method == 0 ? "OLS" : a.method == 1 ? "SMA" : "MA") + " analysis" +
                                  (a.intercept ? "" : "\t fitted through origin") +
                                  (a.measError ? "\t fitted using Methods of Moments" : "") +
                                  "\nFilename:\tinput.txt\nGrp:\tSex\tY: " + a.prefix + "Hwt\tX: " + a.prefix + "Bwt\n";
        EXPECT_EQ(parts[i].rfind(title, 0), 0u) << where << "\n" << parts[i];
        expectIn(parts[i], individualLines(a), where);
        expectIn(parts[i], commonSlope(slopesOf(a), a.common, 144, true), where);
    }
    // Measurement error, lines with the common slope: W and p from paths_extra.py.
    const std::string me = parts.back();
    expectIn(me, "Common slope:\t6.938\tGrand mean X:\t2.724\tGrand mean Y:\t10.631\t", "error");
    expectIn(me, "\nTesting for shifts in elevation between groups using WALD statistic\n" +
                     waldLine(1, 18.06433789, 2.135643e-05) + "Significant elevation shift between groups!\n"
                     "No post-hoc multiple comparisons\n\nTesting for shifts along the common slope using WALD "
                     "statistic\n" + waldLine(1, 37.33614125, 0) + "Significant shift along common slope!\n"
                     "No post-hoc multiple comparisons\n", "error");
}

TEST(PathsEndToEnd, ResamplingPValuesThenPostHocSlopesWithResampling)
{
    TempDir d;
    d.copyFromSource("examples/input.txt", "input.txt");
    d.copyFromSource("tests/data/iris.txt", "iris.txt");
    const RunResult r =
        runKorvel(d, "N 19\nL\nG 0\nY 2\nX 1\nL\nn\nI iris.txt\nP 0.1\nL\nG 4\nY 2\nX 0\nL\ny\nx\n");
    EXPECT_EQ(r.status, 1);
    const std::vector<std::string> parts = sections(d.read("output.txt"));
    ASSERT_EQ(parts.size(), 2u);
    // Cats SMA: T = 0.4311063788 (reference); p = k/19, in the report with
    // D = ceil(log10 19) = 2 decimals, on the console with 3 significant digits.
    // p >= 1/19 > 0.05, so the comparison question follows.
    int k = 0;
    for (int c = 1; c <= 19; ++c)
        if (parts[0].find("\nTest statistic:\t0.431\tp =\t" + fx(c / 19.0, 2) + "\n") != std::string::npos)
            k = c;
    ASSERT_GT(k, 0) << parts[0];
    std::ostringstream console;  // default notation, D + 1 = 3 significant digits
    console << "\nTest statistic:\t0.4311\tp =\t" << std::setprecision(3) << k / 19.0 << "\n";
    expectIn(r.out, console.str(), "console");
    expectIn(parts[0], "\nComparisons of lines with common slope not run\n", "cats");
    // Iris SMA by Species: T = 14.41274815, chi-squared p 0.0007, so none of
    // the 18 resamples should beat it: p = 1/19 < 0.1. Pairs: slopes and T
    // from the reference; the two pairs with setosa (chi-squared p 0.0004)
    // get 1/19 as well, virginica & versicolor (p 0.69) some k/19 >= 0.1.
    expectIn(parts[1], "\nTest statistic:\t14.413\tp =\t0.05\n", "iris");
    expectIn(r.out, "\nRunning permutation tests for 3 comparisons\nCount - 1 2 3 \n", "console");
    const std::string diag = "(" + fx(1, 1, 18) + ")\t";
    expectIn(parts[1], "Group     \t" + pad("setosa", 20) + "\t" + pad("versicolor", 20) + "\t" +
                           pad("virginica", 20) + "\t\nsetosa    \t" + diag +
                           "(0.750 ,12.737,0.05)\t(0.771 ,12.437,0.05)\t\nversicolor\t(0.750 ,12.737,0.05)\t" + diag +
                           "(0.883 ,0.158 ,", "iris");
    expectIn(parts[1], "\np-values only\nGroup     \tsetosa    \tversicolor\tvirginica \t\n"
                       "setosa    \t1.0       \t0.05      \t0.05      \t\n", "iris");
    expectIn(parts[1], "for critical p = 0.100; x is indicated where p > 0.100\nCode\tGroup     \tslope   \tn\t|123|\n"
                       "1\tsetosa    \t" + fx(0.4926782, 3, 8) + "\t50\t|0  |\n2\tvirginica \t" +
                           fx(0.8679233, 3, 8) + "\t50\t| 0x|\n3\tversicolor\t" + fx(0.9103782, 3, 8) +
                           "\t50\t| x0|\n", "iris");
}

TEST(PathsEndToEnd, MajorAxisComparisonScreenSaveAndBothPostHocs)
{
    TempDir d;
    d.copyFromSource("examples/input.txt", "input.txt");
    const RunResult r = runKorvel(d, "R 0\nM 2\nL\nG 0\nY 2\nX 1\nL\ny\ns\nt.txt\nr\ny\nf\ny\nx\nx\n");
    EXPECT_EQ(r.status, 1);
    const std::string rep = d.read("output.txt");
    // Reference, cats MA with intercept: B = 7.059652028; per group (F, M)
    // n, R2, Ymean, Xmean, residMean (= intercept at B) and fittedMean.
    const double B = 7.059652028;
    const std::vector<std::string> names{"F", "M"};
    const std::vector<int> n{47, 97};
    const double R2[] = {0.2830768476, 0.6288960106}, Ym[] = {9.20212766, 11.32268041}, Xm[] = {2.359574468, 2.9};
    const std::vector<double> Rm{-7.45564702, -9.15031047}, Fm{67.32339366, 82.83418374};
    const double X = (47 * Xm[0] + 97 * Xm[1]) / 144, Y = (47 * Ym[0] + 97 * Ym[1]) / 144;
    std::string lines = "Common slope:\t7.060\tGrand mean X:\t" + fx(X, 3) + "\tGrand mean Y:\t" + fx(Y, 3) +
                        "\tGrand mean F:\t" + fx((47 * Fm[0] + 97 * Fm[1]) / 144, 3) + "\tGrand mean R:\t" +
                        fx((47 * Rm[0] + 97 * Rm[1]) / 144, 3) + "\n";
    lines += "\nGroup \tn\tR2\tInterc \tYgrandX\tXgrandY\tYmean  \tXmean  \tFmean  \tRmean  \t\n";
    for (int i = 0; i < 2; ++i) {
        lines += names[i] + "      \t" + std::to_string(n[i]) + "\t" + fx(R2[i], 3);
        for (double v : {Rm[i], Rm[i] + B * X, (Y - Rm[i]) / B, Ym[i], Xm[i], Fm[i], Rm[i]})
            lines += "\t" + fx(v, 3, 7);
        lines += "\n";
    }
    expectIn(rep, "\nCOMPARISON OF LINES WITH COMMON SLOPE\n" + lines, "report");
    expectIn(rep, "\nData transformedas R=Y-Bx, F= BY+X for B= 7.060\nTransformed data saved to file t.txt\n",
             "report");
    // Elevation: W 15.47789321, p 8.347586523e-05; shift: W 35.22296351, p 2.94e-09.
    const double We = 15.47789321, pe = 8.347586523e-05, Ws = 35.22296351, ps = 2.940359014e-09;
    expectIn(rep, "\nTesting for shifts in elevation between groups using WALD statistic\n" + waldLine(1, We, pe) +
                      "Significant elevation shift between groups!\n\nRunning post-hoc multiple comparisons\n" +
                      postHoc(names, n, Rm, {{0, We}, {We, 0}}, {{0, pe}, {pe, 0}}), "elevation");
    expectIn(rep, "\nTesting for shifts along the common slope using WALD statistic\n" + waldLine(1, Ws, ps) +
                      "Significant shift along common slope!\nRunning post-hoc multiple comparisons\n" +
                      postHoc(names, n, Fm, {{0, Ws}, {Ws, 0}}, {{0, ps}, {ps, 0}}) + kSep, "shift");
    // The saved scores, in the data file's order per group: R = Y - B X, F = B Y + X (6 significant digits).
    std::ifstream data(d.file("input.txt"));
    std::string line, sex, bwt, hwt, rows[2];
    std::getline(data, line);
    while (std::getline(data, sex, '\t') && std::getline(data, bwt, '\t') && std::getline(data, hwt)) {
        const double x = std::stod(bwt), y = std::stod(hwt);
        std::ostringstream s;
        s << sex << "\t" << y << "\t" << x << "\t" << y - B * x << "\t" << B * y + x << "\n";
        rows[sex == "M"] += s.str();
    }
    EXPECT_EQ(d.read("t.txt"), "Group\tY\tX\tR\tF\n" + rows[0] + rows[1]);
}

TEST(PathsEndToEnd, ThreeGroupsWithACommonSlopeOnLogData)
{
    TempDir d;
    d.copyFromSource("tests/data/iris.txt", "iris.txt");
    const RunResult r = runKorvel(d, "I iris.txt\nR 0\nM 0\nL\nG 4\nY 2\nX 0\nT 0\nL\ny\nr\ny\nf\nn\nx\nx\n");
    EXPECT_EQ(r.status, 1);
    const std::string rep = d.read("output.txt");
    // Reference, iris log10 OLS with intercept: slopes 0.5060686, 1.013826,
    // 0.8625589; common 0.8466633 (0.7478334, 1.0052), T 3.838444, p 0.1467 > 0.05.
    expectIn(rep, "TEST FOR COMMON SLOPE ACROSS GROUPS\n", "report");
    const Common common{0.8466633, 0.7478334, 1.0052, 3.838444, 0.1467211, 0, 0};
    expectIn(rep, commonSlope({0.5060686, 1.013826, 0.8625589}, common, 150, false), "common slope");
    // Elevation, all groups W 2040.494086 (df 2); pairs vs/se, vi/se, vi/ve.
    const std::vector<std::vector<double>> W{
        {0, 1155.201478, 1711.723189}, {1155.201478, 0, 150.0384894}, {1711.723189, 150.0384894, 0}};
    const std::vector<std::vector<double>> p{{0, 0, 0}, {0, 0, 1.700383e-34}, {0, 1.700383e-34, 0}};
    expectIn(rep, "\nTesting for shifts in elevation between groups using WALD statistic\n" +
                      waldLine(2, 2040.494086, 0) +
                      "Significant elevation shift between groups!\n\nRunning post-hoc multiple comparisons\n" +
                      postHoc({"setosa", "versicolor", "virginica"}, {50, 50, 50},
                              {-0.4294520309, -0.02686577349, 0.05087538931}, W, p), "elevation");
    expectIn(rep, "\nTesting for shifts along the common slope using WALD statistic\n" + waldLine(2, 277.852982, 0) +
                      "Significant shift along common slope!\nNo post-hoc multiple comparisons\n" + kSep, "shift");
    expectIn(r.out, "2\t2040.4941\t0.0000 \tna\n", "console");
}
