// The report's text where the sessions reach it only in part: columns padded
// to their width, and the sorted pair-wise significance matrix.
#include <cmath>
#include <functional>
#include <sstream>
#include <tuple>

#include <gtest/gtest.h>

#include "report/ranking.h"
#include "report/significance_matrix.h"
#include "report/text_columns.h"

using namespace korvel;

TEST(ReportText, ColumnsPaddedNeverCut)
{
    for (const auto& [text, width, padded] : {std::tuple{"ab", 5, "ab   "}, {"abcdef", 5, "abcdef"}, {"ab", 0, "ab"}}) {
        std::ostringstream s;
        writePadded(s, text, width);
        EXPECT_EQ(s.str(), padded);
    }
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
