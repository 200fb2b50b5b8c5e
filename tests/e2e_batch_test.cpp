// Batch use: the bundled answer file examples/session.txt, run on a copy of
// examples/, repeats the documented analysis of the cat data and writes the
// report below.
//
// Every expected number is derived from the independent Python calculation in
// tests/reference/reference_output.txt (section "cats Hwt~Bwt by Sex |
// transform=none | method=SMA | intercept=yes | confidence=95"), rounded and
// laid out as the report format prescribes:
//   - slopes: decimals = max over groups of trunc(4 - log10|slope|)
//     = trunc(4 - log10 5.438) = trunc(3.26) = 3, column width max(3+4, 7) = 7;
//   - intercepts: trunc(4 - log10 4.448) = 3 decimals, width 7;
//   - R2, statistics and means: 3 decimals, width 7, left-adjusted;
//   - p-values of the common-slope test: D = ceil(log10 1000) = 3 decimals.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e_support.h"

namespace {

std::string readSource(const std::string& relative)
{
    TempDir scratch;
    scratch.copyFromSource(relative, "copy");
    return scratch.read("copy");
}

// Runs examples/session.txt in a fresh copy of examples/.
struct BatchRun {
    TempDir dir;
    RunResult result;
    std::string report;
    BatchRun()
    {
        dir.copyFromSource("examples/input.txt", "input.txt");
        dir.copyFromSource("examples/session.txt", "session.txt");
        result = runKorvel(dir, dir.read("session.txt"));
        report = dir.read("output.txt");
    }
};

// Asserts that the pieces occur in text in the given order.
void expectInOrder(const std::string& text, const std::vector<std::string>& pieces)
{
    std::string::size_type from = 0;
    for (const auto& piece : pieces) {
        const auto at = text.find(piece, from);
        ASSERT_NE(at, std::string::npos) << "missing (or out of order): [" << piece << "]\nin report:\n" << text;
        from = at + piece.size();
    }
}

const std::string kSeparator = std::string(100, '-') + "\n\n";

} // namespace

TEST(BatchSession, AnswerFileIsTheDocumentedDialogue)
{
    // The answers the README and the manual page describe, one per line.
    EXPECT_EQ(readSource("examples/session.txt"), "R\n0\nL\nG\n0\nY\n2\nX\n1\nL\ny\nr\ny\nx\nx\n");
}

TEST(BatchSession, EndsWithGoodByeAndStatusOne)
{
    BatchRun run;
    EXPECT_EQ(run.result.status, 1);
    EXPECT_EQ(run.result.err, "");
    const std::string tail = "\nGoodBye\n";
    ASSERT_GE(run.result.out.size(), tail.size());
    EXPECT_EQ(run.result.out.substr(run.result.out.size() - tail.size()), tail);
    // One analysis, one separator at the end of the report.
    EXPECT_EQ(countOf(run.report, std::string(100, '-')), 1);
    ASSERT_GE(run.report.size(), kSeparator.size());
    EXPECT_EQ(run.report.substr(run.report.size() - kSeparator.size()), kSeparator);
}

TEST(BatchSession, DataSummaryBlock)
{
    BatchRun run;
    // 47 females and 97 males, no filter, settings at their defaults except
    // the chi-squared p-value (which the summary does not show).
    EXPECT_EQ(run.report.rfind("SMA analysis\nFilename:\tinput.txt\n", 0), 0u) << run.report;
    expectInOrder(run.report, {
        "Grp:\tSex\tY: Hwt\tX: Bwt\n",
        "No. iterations:\t1000\tCritical p:\t0.05\tConf.interval:\t95%\n",
        "Filters:\nFiltered or empty data points:\t0\n",
        "Groups with less than 6 data points (removed):\t\n",
        "No. groups:\t2\nNo. datapoints:\t144\n",
        "Measurement Error: Not included\n",
    });
}

TEST(BatchSession, IndividualLines)
{
    BatchRun run;
    // Reference: F slope 4.955202896 (3.85310188, 6.372537375), interc
    // -2.490042577 (-5.487382097, 0.507296943), R2 0.2830768476,
    // p 0.000118617016, Ymean 9.20212766, Xmean 2.359574468;
    // M slope 5.438231463 (4.805159369, 6.154709796), interc -4.44819083
    // (-6.432619942, -2.463761717), R2 0.6288960106, p 3.6e-22,
    // Ymean 11.32268041, Xmean 2.9.
    expectInOrder(run.report, {
        "\nSMA results\n",
        "Group  \tn      \tR2     \tp      \tSlope  \tLowCI  \tUppCI  \tInterc \tLowCI  \tUppCI  \tYmean  \tXmean  \t\n",
        "F      \t47\t0.283  \t0.000  \t4.955  \t3.853  \t6.373  \t-2.490 \t-5.487 \t0.507  \t9.202  \t2.360  \t\n",
        "M      \t97\t0.629  \t0.000  \t5.438  \t4.805  \t6.155  \t-4.448 \t-6.433 \t-2.464 \t11.323 \t2.900  \t\n",
    });
}

TEST(BatchSession, CommonSlopeWithChiSquaredPValue)
{
    BatchRun run;
    // Reference: common slope 5.338004224, CI 4.777904343 .. 5.965400125,
    // LR statistic 0.4311063788, chi-squared p (1 df) 0.5114465638 > 0.05.
    expectInOrder(run.report, {
        "\nTEST FOR COMMON SLOPE ACROSS GROUPS\n",
        "Grps   \tN      \tSlope  \tLowCI  \tUppCI  \t\n",
        "2      \t144    \t5.338  \t4.778  \t5.965  \t\n",
        "\nTest statistic:\t0.431\tp =\t0.511\n",
    });
    // The console repeats the statistic with one more digit (4 here).
    EXPECT_NE(run.result.out.find("\nTest statistic:\t0.4311\tp =\t0.5114\n"), std::string::npos) << run.result.out;
}

TEST(BatchSession, LinesWithTheCommonSlope)
{
    BatchRun run;
    // Grand means, weighted by n (47 F, 97 M), from the reference's group means:
    //   X = (47*2.359574468 + 97*2.9)/144                 = 2.72361
    //   Y = (47*9.20212766 + 97*11.32268041)/144          = 10.63056
    //   F = (47*21.79754614 + 97*26.80289266)/144         = 25.16920
    //   R = (47*-3.393290817 + 97*-4.157531836)/144       = -3.90809
    // Per group a = residMean, YgrandX = a + B*X, XgrandY = (Y - a)/B with
    // B = 5.338004224: F 11.14536 and 2.62717, M 10.38112 and 2.77034.
    expectInOrder(run.report, {
        "\nCOMPARISON OF LINES WITH COMMON SLOPE\n",
        "Common slope:\t5.338\tGrand mean X:\t2.724\tGrand mean Y:\t10.631\tGrand mean F:\t25.169\tGrand mean R:\t-3.908\n",
        "\nGroup \tn\tR2\tInterc \tYgrandX\tXgrandY\tYmean  \tXmean  \tFmean  \tRmean  \t\n",
        "F      \t47\t0.283\t-3.393 \t11.145 \t2.627  \t9.202  \t2.360  \t21.798 \t-3.393 \n",
        "M      \t97\t0.629\t-4.158 \t10.381 \t2.770  \t11.323 \t2.900  \t26.803 \t-4.158 \n",
    });
}

TEST(BatchSession, ElevationTestAndPostHoc)
{
    BatchRun run;
    // Reference: Wald W = 6.207706327, 1 df, p = 0.01271953326 < 0.05, so no
    // A_com; pair M & F: difference |-3.393290817 - -4.157531836| = 0.7642410191.
    expectInOrder(run.report, {
        "\nTesting for shifts in elevation between groups using WALD statistic\n",
        "df\tstat\tp\tA_com\n",
        "1\t6.208  \t0.013  \tna\n",
        "Significant elevation shift between groups!\n",
        "\nRunning post-hoc multiple comparisons\n",
        "Difference, standard error, df, p-value\n",
        "Group  \tF                        \tM                        \t\n",
        "F      \t(1.0                    )\t(0.764 ,",
        ",1  ,0.013)\t\n",
        "M      \t(0.764 ,",
        ",1  ,0.013)\t(1.0                    )\t\n",
        "\np-values only\n",
        "Group  \tF      \tM      \t\n",
        "F      \t1.0    \t0.0127 \t\n",
        "M      \t0.0127 \t1.0    \t\n",
        "\nSorted pair-wise significance matrix for critical p = 0.050; x is indicated where p > 0.050\n",
        "Code\tGroup  \tmean    \tn\t|12|\n",
        // Sorted by the residual mean: M (-4.158) before F (-3.393); p < 0.05
        // leaves the off-diagonal cells blank.
        "1\tM      \t-4.158  \t97\t|0 |\n",
        "2\tF      \t-3.393  \t47\t| 0|\n",
        kSeparator,
    });
    // The console shows the Wald line with 4 decimals.
    EXPECT_NE(run.result.out.find("1\t6.2077 \t0.0127 \tna\n"), std::string::npos) << run.result.out;
    EXPECT_NE(run.result.out.find("Significant elevation shift between groups!\n\nRun post-hoc multiple comparisons (y or n)?\n"),
              std::string::npos);
    // The chosen path only: no slope post-hoc, no test along the slope.
    EXPECT_EQ(run.report.find("POST-HOC MULTIPLE COMPARISON OF SLOPES"), std::string::npos);
    EXPECT_EQ(run.report.find("shifts along the common slope"), std::string::npos);
}

TEST(BatchSession, RepeatsExactly)
{
    BatchRun first;
    BatchRun second;
    EXPECT_FALSE(first.report.empty());
    EXPECT_EQ(first.report, second.report);
    EXPECT_EQ(first.result.out, second.result.out);
}
