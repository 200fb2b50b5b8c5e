// The resampling p-value of the common-slope test, end to end. The expected
// counts come from tests/reference/resampling.py, which replays every
// resample from the formulas in Python with the C library's own rand()
// (called through ctypes in a fresh process, so the sequence starts where the
// program's does):
//   resampling.py 99 1      -> SMA count 47 (p 47/99)
//   resampling.py 99 0      -> OLS count 5  (p 5/99)
//   resampling.py 99 2      -> MA  count 20 (p 20/99)
//   resampling.py 99 1 0 2  -> SMA 47, then OLS 6, then MA 25 in one run
//   resampling.py 2 0       -> OLS: none of the 200 attempts converges within
//                              the iteration limit of 2, so p = 1 / (1 + 0)
#include <gtest/gtest.h>

#include "e2e_support.h"

namespace {
const char* const catsByBodyWeight = "L\nG 0\nY 2\nX 1\nL\n";

// One analysis with the given method (the first picks the variables, later
// ones keep them); the slopes agree in each, so the comparison question
// follows and is declined.
std::string analysis(int method, bool first = true)
{
    return "M " + std::to_string(method) + "\n" + (first ? catsByBodyWeight : "L\nL\n") + "n\n";
}
} // namespace

TEST(ResamplingPvalue, MatchesReplayOfEveryResample)
{
    struct Case {
        int method;
        const char* console; // p with 3 significant digits
        const char* report;  // p with 2 decimals
    };
    // 47/99 = 0.4747..., 5/99 = 0.0505..., 20/99 = 0.2020...
    for (const Case& c : {Case{1, "p =\t0.475\n", "p =\t0.47\n"}, Case{0, "p =\t0.0505\n", "p =\t0.05\n"},
                          Case{2, "p =\t0.202\n", "p =\t0.20\n"}}) {
        TempDir dir;
        dir.copyFromSource("examples/input.txt", "input.txt");
        const RunResult r = runKorvel(dir, "N 99\n" + analysis(c.method) + "x\n");
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.out.find(c.console), std::string::npos) << "method " << c.method;
        EXPECT_NE(dir.read("output.txt").find(c.report), std::string::npos) << "method " << c.method;
    }
}

TEST(ResamplingPvalue, GeneratorStateCarriesOverBetweenAnalyses)
{
    TempDir dir;
    dir.copyFromSource("examples/input.txt", "input.txt");
    const RunResult r = runKorvel(dir, "N 99\n" + analysis(1) + analysis(0, false) + analysis(2, false) + "x\n");
    // 47/99, then 6/99 = 0.0606..., then 25/99 = 0.2525...
    const auto first = r.out.find("p =\t0.475\n");
    const auto second = r.out.find("p =\t0.0606\n");
    const auto third = r.out.find("p =\t0.253\n");
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(second, std::string::npos);
    ASSERT_NE(third, std::string::npos);
    EXPECT_LT(first, second);
    EXPECT_LT(second, third);
}

TEST(ResamplingPvalue, BoundedAttemptsWhenNoResampleConverges)
{
    TempDir dir;
    dir.copyFromSource("examples/input.txt", "input.txt");
    const RunResult r = runKorvel(dir, "N 2\n" + analysis(0) + "x\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("Resampling stopped: 0 of 1 resamples converged\n"), std::string::npos);
    EXPECT_NE(r.out.find("p =\t1\n"), std::string::npos);
    EXPECT_NE(dir.read("output.txt").find("p =\t1.0\n"), std::string::npos);
}
