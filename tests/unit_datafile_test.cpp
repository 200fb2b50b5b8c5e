// The data file reader: header, line count and column extraction.
#include <sstream>

#include <gtest/gtest.h>

#include "datafile.h"
#include "filter_questions.h"

using Column = std::vector<std::string>;

TEST(DataFile, HeaderCountAndMiddleColumn)
{
    std::istringstream s("a\tb\tc\n1\t2\t3\n4\t5\t6\n7\t8\t9\n");
    EXPECT_EQ(readHeader(s), (Column{"a", "b", "c"}));
    const LineCount count = countLines(s, 3);
    EXPECT_EQ(count.lines, 4);
    EXPECT_EQ(count.shortRecords, 0);
    EXPECT_EQ(extractColumn(s, 1, 4), (Column{"b", "2", "5", "8"}));
    EXPECT_EQ(extractColumn(s, 2, 4), (Column{"c", "3", "6", "9"}));
}

TEST(DataFile, EmptyFileAndHeaderWithoutLineFeed)
{
    std::istringstream empty("");
    EXPECT_EQ(readHeader(empty), (Column{""}));
    EXPECT_EQ(countLines(empty, 1).lines, 1);

    std::istringstream headerOnly("x\t\ty");
    EXPECT_EQ(readHeader(headerOnly), (Column{"x", "", "y"}));
    EXPECT_EQ(countLines(headerOnly, 3).lines, 1);
}

TEST(DataFile, LastLineWithoutLineFeedAndTrailingEmptyLine)
{
    std::istringstream noFeed("a\tb\n1\t2\n3\t4");
    readHeader(noFeed);
    EXPECT_EQ(countLines(noFeed, 2).lines, 3);
    EXPECT_EQ(extractColumn(noFeed, 1, 3), (Column{"b", "2", "4"}));

    std::istringstream trailing("a\tb\n1\t2\n\n");
    readHeader(trailing);
    const LineCount count = countLines(trailing, 2);
    EXPECT_EQ(count.lines, 3);
    EXPECT_EQ(count.shortRecords, 0);
    EXPECT_EQ(extractColumn(trailing, 0, 3), (Column{"a", "1", ""}));
}

TEST(DataFile, CarriageReturnsBeforeLineFeedsOrAtTheEndAreNotPartOfTheLine)
{
    // Mixed line ends; a line holding only a carriage return is empty; the
    // file's last byte is a carriage return; one inside a cell stays.
    std::istringstream s("a\tb\r\n1\t2\n\r\n3\t\r4\r\n5\t6\r");
    EXPECT_EQ(readHeader(s), (Column{"a", "b"}));
    const LineCount count = countLines(s, 2);
    EXPECT_EQ(count.lines, 5);
    EXPECT_EQ(count.shortRecords, 0);
    EXPECT_EQ(extractColumn(s, 1, 5), (Column{"b", "2", "", "\r4", "6"}));
}

TEST(DataFile, ShortRecordDoesNotShiftLaterRecords)
{
    // The second record lacks its last cell; the third has an extra one.
    std::istringstream s("a\tb\tc\n1\t2\t3\n4\t5\n7\t8\t9\t10\n");
    readHeader(s);
    const LineCount count = countLines(s, 3);
    EXPECT_EQ(count.lines, 4);
    EXPECT_EQ(count.shortRecords, 1);
    EXPECT_EQ(extractColumn(s, 1, 4), (Column{"b", "2", "5", "8"}));
    EXPECT_EQ(extractColumn(s, 2, 4), (Column{"c", "3", "", "9"}));
}

TEST(DataFile, MissingLinesReadAsEmpty)
{
    std::istringstream s("a\n1\n");
    EXPECT_EQ(extractColumn(s, 0, 4), (Column{"a", "1", "", ""}));
}

TEST(ScalarFilter, LabelsBelowBetweenAndAbove)
{
    Column column{"mass", "5", "10", "15", "20", "25", ""};
    relabelScalar(column, "10", "20");
    EXPECT_EQ(column, (Column{"mass", "< 10", "> 10 & < 20", "> 10 & < 20", "> 10 & < 20", "> 20", "< 10"}));
}
