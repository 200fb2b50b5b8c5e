// Whole analyses that end in the post-hoc slope comparisons (iris) or in the
// comparison of lines sharing the common slope (cats), driven through the
// console. Resampling is off (R 0) so that every p-value is chi-squared.
//
// Where the expected numbers come from: tests/reference/reference_output.txt
// (cats SMA and OLS, iris Petal.Length ~ Sepal.Length SMA), and for the
// grand means, table rows and transformed scores a short /usr/bin/python3
// calculation from the data files (formulas of the comparison report).
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "e2e_support.h"

namespace {

const std::string catsLoad = "L\nG 0\nY 2\nX 1\nL\n"; // Y Hwt, X Bwt, by Sex
const std::string irisLoad = "I iris.txt\nR 0\nL\nG 4\nY 2\nX 0\nL\n";
const std::string separator = std::string(100, '-') + "\n\n";

void expectInOrder(const std::string& text, std::initializer_list<std::string> pieces)
{
    std::size_t from = 0;
    for (const std::string& piece : pieces) {
        const std::size_t at = text.find(piece, from);
        ASSERT_NE(at, std::string::npos) << "missing (in order): " << piece << "\n--- text ---\n" << text;
        from = at + piece.size();
    }
}

RunResult runCats(const TempDir& dir, const std::string& input)
{
    dir.copyFromSource("examples/input.txt", "input.txt");
    return runKorvel(dir, input);
}

RunResult runIris(const TempDir& dir, const std::string& input)
{
    dir.copyFromSource("tests/data/iris.txt", "iris.txt");
    return runKorvel(dir, input);
}

} // namespace

TEST(ComparisonEndToEnd, CatsElevationAndShiftWithPostHoc)
{
    TempDir dir;
    const RunResult r = runCats(dir, "R 0\n" + catsLoad + "y\nr\ny\nf\ny\nx\nx\n");
    EXPECT_EQ(r.status, 1);
    const std::string rep = dir.read("output.txt");
    // Common slope 5.338004224; a = Ymean - B Xmean; a + B*2.724; (10.631 - a)/B;
    // Fmean = Ymean + B Xmean; Rmean = a (python on examples/input.txt).
    expectInOrder(rep, {"SMA analysis", "TEST FOR COMMON SLOPE ACROSS GROUPS",
                        "\nCOMPARISON OF LINES WITH COMMON SLOPE\nCommon slope:\t5.338\tGrand mean X:\t2.724\t"
                        "Grand mean Y:\t10.631\tGrand mean F:\t25.169\tGrand mean R:\t-3.908\n"
                        "\nGroup \tn\tR2\tInterc \tYgrandX\tXgrandY\tYmean  \tXmean  \tFmean  \tRmean  \t\n"
                        "F      \t47\t0.283\t-3.393 \t11.145 \t2.627  \t9.202  \t2.360  \t21.798 \t-3.393 \n"
                        "M      \t97\t0.629\t-4.158 \t10.381 \t2.770  \t11.323 \t2.900  \t26.803 \t-4.158 \n",
                        // elevation: W 6.207706327, p 0.0127; second number 0.764 / sqrt(6.2077) = 0.307
                        "\nTesting for shifts in elevation between groups using WALD statistic\n"
                        "df\tstat\tp\tA_com\n1\t6.208  \t0.013  \tna\n"
                        "Significant elevation shift between groups!\n\nRunning post-hoc multiple comparisons\n"
                        "Difference, standard error, df, p-value\nGroup  \tF                        \t"
                        "M                        \t\n"
                        "F      \t(1.0                    )\t(0.764 ,0.307 ,1  ,0.013)\t\n"
                        "M      \t(0.764 ,0.307 ,1  ,0.013)\t(1.0                    )\t\n"
                        "\np-values only\nGroup  \tF      \tM      \t\nF      \t1.0    \t0.0127 \t\n"
                        "M      \t0.0127 \t1.0    \t\n",
                        "\nCode\tGroup  \tmean    \tn\t|12|\n1\tM      \t-4.158  \t97\t|0 |\n"
                        "2\tF      \t-3.393  \t47\t| 0|\n",
                        // shift: W 63.32274758, p 1.75e-15; 5.005 / sqrt(63.32) = 0.629
                        "\nTesting for shifts along the common slope using WALD statistic\n"
                        "df\tstat\tp\tA_com\n1\t63.323 \t0.000  \tna\nSignificant shift along common slope!\n"
                        "Running post-hoc multiple comparisons\nDifference, standard error, df, p-value\n",
                        "F      \t(1.0                    )\t(5.005 ,0.629 ,1  ,0.000)\t\n",
                        "\t|12|\n1\tF      \t21.798  \t47\t|0 |\n2\tM      \t26.803  \t97\t| 0|\n", separator});
    // The console shows the values with 4 decimals.
    expectInOrder(r.out, {"1\t6.2077 \t0.0127 \tna\n", "Significant elevation shift between groups!\n\n"
                                                         "Run post-hoc multiple comparisons (y or n)?\n",
                          "processing........\n", "1\t63.3227\t0.0000 \tna\n"});
}

TEST(ComparisonEndToEnd, UpperCaseYesRunsComparisonsButNotPostHoc)
{
    TempDir dir;
    const RunResult r = runCats(dir, "R 0\n" + catsLoad + "Y\nr\nY\nx\nx\n");
    EXPECT_EQ(r.status, 1);
    const std::string rep = dir.read("output.txt");
    expectInOrder(rep, {"\nCOMPARISON OF LINES WITH COMMON SLOPE\n",
                        "Significant elevation shift between groups!\nNo post-hoc multiple comparisons\n", separator});
    EXPECT_EQ(countOf(rep, "Difference, standard error"), 0);
    EXPECT_EQ(countOf(r.out, "processing"), 0);
}

TEST(ComparisonEndToEnd, ThroughTheOriginOffersNoElevationTest)
{
    TempDir dir;
    // Cats SMA through the origin: common slope p 0.706; shift W 64.50669536.
    const RunResult r = runCats(dir, "R 0\nT 0\n" + catsLoad + "y\nr\nf\nn\nx\nx\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_GE(countOf(r.out, "ANCOVA OPTIONS"), 1);
    EXPECT_EQ(countOf(r.out, "R - compare Residuals for shifts in elevation"), 0);
    expectInOrder(r.out, {"Not possible for lines fitted through the origin", "1\t64.5067\t0.0000 \tna\n"});
    const std::string rep = dir.read("output.txt");
    expectInOrder(rep, {"\nTesting for shifts along the common slope using WALD statistic\n"
                        "df\tstat\tp\tA_com\n1\t64.507 \t0.000  \tna\nSignificant shift along common slope!\n"
                        "No post-hoc multiple comparisons\n"});
    EXPECT_EQ(countOf(rep, "shifts in elevation"), 0);
}

TEST(ComparisonEndToEnd, OlsElevationNotSignificantShowsCommonValue)
{
    TempDir dir;
    // Cats OLS: common slope 3.777851111 (p 0.0179 > 0.01); elevation W 0.0754,
    // p 0.7836, A_com 0.2088. OLS fitted scores are X, so Fmean = Xmean.
    const RunResult r = runCats(dir, "R 0\nM 0\nP 0.01\n" + catsLoad + "y\nr\ns\nt.txt\nx\nx\n");
    EXPECT_EQ(r.status, 1);
    const std::string rep = dir.read("output.txt");
    expectInOrder(rep, {"\t2.360  \t2.360  \t", "\t2.900  \t2.900  \t",
                        "df\tstat\tp\tA_com\n1\t0.075  \t0.784  \t0.209\nNo elevation shift between groups\n",
                        "\nData transformedas R=Y-Bx, F= X for B= 3.778\nTransformed data saved to file t.txt\n"});
    expectInOrder(r.out, {"1\t0.0754 \t0.7836 \t0.2088\nNo elevation shift between groups\n"});
}

TEST(ComparisonEndToEnd, TransformedDataFileAndRefusedNames)
{
    TempDir dir;
    // Group b's points are those of a with Y + 1, lines interleaved and b first:
    // equal slopes, so the common SMA slope is sqrt(0.6) = 0.7745966692.
    const std::string data = "grp\ty\tx\nb\t3\t1\na\t2\t1\na\t4\t2\nb\t5\t2\nb\t6\t3\na\t5\t3\n"
                             "a\t4\t4\nb\t5\t4\na\t5\t5\nb\t6\t5\n";
    dir.write("d.txt", data);
    const RunResult r =
        runKorvel(dir, "G 5\nR 0\nI d.txt\nL\nG 0\nY 1\nX 2\nL\ny\ns\nd.txt\n./output.txt\nt.txt\nx\nx\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("\n Enter name of output filename-> Bad entry, try again:\tBad entry, try again:\t"),
              std::string::npos)
        << r.out;
    EXPECT_EQ(dir.read("d.txt"), data);
    // R = Y - B X, F = Y + B X, 6 significant digits (python "%g").
    EXPECT_EQ(dir.read("t.txt"), "Group\tY\tX\tR\tF\n"
                                 "a\t2\t1\t1.2254\t2.7746\na\t4\t2\t2.45081\t5.54919\na\t5\t3\t2.67621\t7.32379\n"
                                 "a\t4\t4\t0.901613\t7.09839\na\t5\t5\t1.12702\t8.87298\n"
                                 "b\t3\t1\t2.2254\t3.7746\nb\t5\t2\t3.45081\t6.54919\nb\t6\t3\t3.67621\t8.32379\n"
                                 "b\t5\t4\t1.90161\t8.09839\nb\t6\t5\t2.12702\t9.87298\n");
    // The method's text follows "Data transformed" with no separator.
    expectInOrder(dir.read("output.txt"),
                  {"\nData transformedas R=Y-Bx, F= Y+BX for B= 0.775\nTransformed data saved to file t.txt\n",
                   separator});
}

TEST(ComparisonEndToEnd, EndOfInputAtQuestionOrMenuSaysGoodBye)
{
    for (const std::string& tail : {std::string("y\nr\n"), std::string("y\n")}) {
        TempDir dir;
        const RunResult r = runCats(dir, "R 0\n" + catsLoad + tail);
        EXPECT_EQ(r.status, 1) << tail;
        const std::size_t bye = r.out.rfind("\nGoodBye");
        ASSERT_NE(bye, std::string::npos) << tail;
        EXPECT_EQ(r.out.find_first_not_of(" \n", bye + 8), std::string::npos) << tail;
        const std::string rep = dir.read("output.txt");
        expectInOrder(rep, {"\nCOMPARISON OF LINES WITH COMMON SLOPE\nCommon slope:\t5.338\t"});
        EXPECT_EQ(countOf(rep, "Significant elevation shift between groups!\n"), tail == "y\nr\n" ? 1 : 0);
    }
}

TEST(SlopePostHocEndToEnd, IrisTablesMatrixAndCount)
{
    TempDir dir;
    const RunResult r = runIris(dir, irisLoad + "y\nx\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("\nRunning permutation tests for 3 comparisons\nCount - 1 2 3 \n"), std::string::npos)
        << r.out;
    // Pairs: versicolor&setosa 0.7502 T 12.737 p 0.00036; virginica&setosa 0.7712
    // T 12.437 p 0.00042; virginica&versicolor 0.8834 T 0.158 p 0.691. Own
    // slopes 0.493, 0.910, 0.868. Name column 10 wide, p with 3 decimals.
    expectInOrder(dir.read("output.txt"),
                  {"TEST FOR COMMON SLOPE ACROSS GROUPS",
                   "\nPOST-HOC MULTIPLE COMPARISON OF SLOPES AMONG GROUPS\nCommon slope, test stat, p-value\n"
                   "Group     \tsetosa               \tversicolor           \tvirginica            \t\n"
                   "setosa    \t(1.0                )\t(0.750 ,12.737,0.000)\t(0.771 ,12.437,0.000)\t\n"
                   "versicolor\t(0.750 ,12.737,0.000)\t(1.0                )\t(0.883 ,0.158 ,0.691)\t\n"
                   "virginica \t(0.771 ,12.437,0.000)\t(0.883 ,0.158 ,0.691)\t(1.0                )\t\n"
                   "\np-values only\nGroup     \tsetosa    \tversicolor\tvirginica \t\n"
                   "setosa    \t1.0       \t0.000     \t0.000     \t\n"
                   "versicolor\t0.000     \t1.0       \t0.691     \t\n"
                   "virginica \t0.000     \t0.691     \t1.0       \t\n"
                   "\nSorted pair-wise significance matrix for critical p = 0.050; x is indicated where p > 0.050\n"
                   "Code\tGroup     \tslope   \tn\t|123|\n1\tsetosa    \t0.493   \t50\t|0  |\n"
                   "2\tvirginica \t0.868   \t50\t| 0x|\n3\tversicolor\t0.910   \t50\t| x0|\n",
                   separator});
}

TEST(SlopePostHocEndToEnd, UnconvergedPairsShowZeroSlopeInPairOrder)
{
    TempDir dir;
    // N 1: every pair's fit_common uses at least one iteration, so it returns
    // false; the tables show slope 0 but the statistic at the slope it left
    // (the converged one: 12.737, 12.437, 0.158). p with D = 0 decimals.
    const RunResult r = runIris(dir, "N 1\n" + irisLoad + "Y\nx\n");
    EXPECT_EQ(r.status, 1);
    expectInOrder(r.out, {"Count - slope didn't converge for groups: versicolor & setosa, check data.\n1 ",
                          "slope didn't converge for groups: virginica & setosa, check data.\n2 ",
                          "slope didn't converge for groups: virginica & versicolor, check data.\n3 \n"});
    expectInOrder(dir.read("output.txt"),
                  {"setosa    \t(1.0             )\t(0.000 ,12.737,0)\t(0.000 ,12.437,0)\t\n"
                   "versicolor\t(0.000 ,12.737,0)\t(1.0             )\t(0.000 ,0.158 ,1)\t\n",
                   "\np-values only\n", "versicolor\t0         \t1.0       \t1         \t\n"});
}

TEST(ComparisonEndToEnd, AnswerNoSkipsEitherFollowUp)
{
    TempDir cats, iris;
    const RunResult c = runCats(cats, "R 0\n" + catsLoad + "n\nx\n");
    const std::string notRun = "\nComparisons of lines with common slope not run\n";
    expectInOrder(cats.read("output.txt"), {notRun, separator});
    expectInOrder(c.out, {notRun});
    EXPECT_EQ(countOf(c.out, "ANCOVA OPTIONS"), 0);
    const RunResult i = runIris(iris, irisLoad + "n\nx\n");
    const std::string noPairs = "\nNo post hoc comparisons between groups\n";
    expectInOrder(iris.read("output.txt"), {noPairs, separator});
    expectInOrder(i.out, {noPairs});
    EXPECT_EQ(countOf(i.out, "Count - "), 0);
}
