// Grouping the loaded text columns: accepted and rejected lines, filters,
// point order, the group-name column width and the removal of small groups.
#include <cmath>
#include <iostream>
#include <sstream>

#include <gtest/gtest.h>

#include "SMAstats.h"
#include "group_data.h"

namespace {
// A profile holding grouping, Y and X columns (element 0 the names).
profile columns(std::vector<std::string> g, std::vector<std::string> y, std::vector<std::string> x)
{
    profile p;
    p.n_lines = static_cast<int>(g.size());
    p.columns = {std::move(g), std::move(y), std::move(x), {"none"}};
    return p;
}
} // namespace

TEST(GroupLines, AcceptsRejectsAndKeepsPointsLatestFirst)
{
    const profile p = columns({"grp", "A", "A", "", "A", " ", "B", "A"}, {"y", "10", "20", "5", " ", "6", "7", "30"},
                              {"x", "1", "2", "3", "4", "5", "  6", "3"});
    const GroupedData d = groupLines(p);
    // Lines 3 (empty group), 4 (single-blank Y) and 5 (single-blank group) are
    // rejected; a cell of two blanks is read as a number.
    EXPECT_EQ(d.rejected, 3);
    ASSERT_EQ(d.groups.size(), 2u);
    EXPECT_EQ(d.groups.at("A").X, (std::vector<double>{3, 2, 1}));
    EXPECT_EQ(d.groups.at("A").Y, (std::vector<double>{30, 20, 10}));
    EXPECT_EQ(d.groups.at("B").X, (std::vector<double>{6}));
    EXPECT_EQ(d.groupWidth, 7);
}

TEST(GroupLines, FiltersRemoveLinesAndAMissingEntryRemovesToo)
{
    profile p = columns({"g", "A", "A", "A", "A"}, {"y", "1", "2", "3", "4"}, {"x", "1", "2", "3", "4"});
    p.columns.back() = {"site", "s1", "s2", "s1", "s3"};
    p.filter_maps = {{{"s1", 1}, {"s2", 0}}}; // s3 has no entry
    const GroupedData d = groupLines(p);
    EXPECT_EQ(d.rejected, 2);
    EXPECT_EQ(d.groups.at("A").X, (std::vector<double>{3, 1}));
}

TEST(GroupLines, NameColumnWidthSkipsMultiplesOfSix)
{
    // Names of 2 and 12 characters: 12 is a multiple of 6, so 13.
    const profile p = columns({"g", "ab", "abcdefghijkl"}, {"y", "1", "2"}, {"x", "1", "2"});
    EXPECT_EQ(groupLines(p).groupWidth, 13);
}

TEST(GroupLines, SmallGroupsRemovedAndTransformations)
{
    GroupMap groups;
    groups["A"].X = {1, 2, 3, 4, 5};
    groups["B"].X = {1, 2, 3, 4, 5, 6};
    const auto removed = removeSmallGroups(groups, 6);
    ASSERT_EQ(removed.size(), 1u);
    EXPECT_EQ(removed[0], (std::pair<std::string, int>{"A", 5}));
    EXPECT_EQ(groups.at("B").n, 6);
    EXPECT_DOUBLE_EQ(transformValue(0, 1000), 3);
    EXPECT_DOUBLE_EQ(transformValue(1, std::exp(2.0)), 2);
    EXPECT_DOUBLE_EQ(transformValue(7, 5), 5);
    EXPECT_TRUE(std::isinf(transformValue(0, 0)));
    EXPECT_TRUE(std::isnan(transformValue(1, -1)));
}

TEST(SMAstatsConsole, DisplayDataListsPointsAndFit)
{
    SMAstats st;
    summary_stats& g = st.groups["A"];
    g.X = {1, 2};
    g.Y = {3, 4};
    g.n = 2;
    g.SXX = 0.5;
    g.slope = 1;
    g.R2 = 1;
    std::ostringstream captured;
    std::streambuf* old = std::cout.rdbuf(captured.rdbuf());
    st.displayData();
    std::cout.rdbuf(old);
    EXPECT_EQ(captured.str(), "Data groups\nA\t(1,3)  (2,4)  \nSize: 2  SXX: 0.5  Slope: 1  R2: 1\n");
    // The score selector: X, Y, fitted and residual in that order.
    EXPECT_EQ(st.XYFR(0, 1, 2, 3, 4), 1);
    EXPECT_EQ(st.XYFR(1, 1, 2, 3, 4), 2);
    EXPECT_EQ(st.XYFR(2, 1, 2, 3, 4), 3);
    EXPECT_EQ(st.XYFR(3, 1, 2, 3, 4), 4);
}
