// Reading what the user types and what the data file holds: the text checks,
// the data file reader, scalar filter labels and the grouping of data lines.
// Expected values are the program's documented rules worked by hand.
#include <sstream>

#include <gtest/gtest.h>

#include "data/data_file.h"
#include "data/grouping.h"
#include "data/scalar_filter.h"
#include "data/text_checks.h"
#include "report/text_columns.h"

TEST(TextChecks, PromptValidatorsAndPadding)
{
    const struct {
        const char* text;
        bool digits, fitsInt, decimal, percent, probability;
    } rows[] = {
        // text: digits only, and within int; digits and points; 1..100; 0..1
        {"", true, true, true, false, true},           {"007", true, true, true, true, false},
        {"100", true, true, true, true, false},        {"101", true, true, true, false, false},
        {"0", true, true, true, false, true},          {"1", true, true, true, true, true},
        {"-3", false, false, false, false, false},     {"3.0", false, false, true, false, false},
        {"1.2.3", false, false, true, false, false},   {"0.05", false, false, true, false, true},
        {"1e-3", false, false, false, false, false},   {"1.01", false, false, true, false, false},
        {"4294967297", true, false, true, false, false},
        // 1 + 2^-30 is above 1 as a double but exactly 1 in single precision.
        {"1.000000000931322574615478515625", false, false, true, false, true},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(isInteger(r.text), r.digits) << r.text;
        EXPECT_EQ(isIntegerInRange(r.text), r.fitsInt) << r.text;
        EXPECT_EQ(isDecimal(r.text), r.decimal) << r.text;
        EXPECT_EQ(isBetween(r.text, 1, 100), r.percent) << r.text;
        EXPECT_EQ(isBetween_dec(r.text, 0.0f, 1.0f), r.probability) << r.text;
    }
    EXPECT_TRUE(StrCompare("10", "9"));
    EXPECT_FALSE(StrCompare("5", "5.0"));
    EXPECT_TRUE(StrCompare("abc", "-1"));
    EXPECT_FALSE(isFiniteDecimal(std::string(400, '9')));
    for (const auto& [text, width, padded] : {std::tuple{"ab", 5, "ab   "}, {"abcdef", 5, "abcdef"}, {"ab", 0, "ab"}}) {
        std::ostringstream s;
        writePadded(s, text, width);
        EXPECT_EQ(s.str(), padded);
    }
}

TEST(TextChecks, DecimalValueOfCellsAndTypedNumbers)
{
    const struct {
        const char* text;
        bool isNumber;
        double value;
    } rows[] = {
        {"-0.25", true, -0.25}, {" 2 ", true, 2},     {"1e-3", true, 0.001}, {"+.5", true, 0.5},
        {"-0", true, 0},        {"1e-400", true, 0},  {"5.", true, 5},       {"NA", false, 0},
        {"n/a", false, 0},      {".", false, 0},      {"\"2\"", false, 0},   {"3,5", false, 0},
        {"1.5x", false, 0},     {"nan", false, 0},    {"inf", false, 0},     {"0x10", false, 0},
        {"1e400", false, 0},    {"", false, 0},       {"  ", false, 0},      {"1 2", false, 0},
    };
    for (const auto& row : rows) {
        const auto value = decimalValue(row.text);
        EXPECT_EQ(value.has_value(), row.isNumber) << "[" << row.text << "]";
        if (value && row.isNumber) {
            EXPECT_DOUBLE_EQ(*value, row.value) << row.text;
        }
    }
}

TEST(DataFile, HeaderLineCountAndColumns)
{
    const struct {
        const char* file;
        Column header;
        int lines, shortRecords, k;
        Column column;
    } rows[] = {
        {"a\tb\tc\n1\t2\t3\n4\t5\t6\n7\t8\t9\n", {"a", "b", "c"}, 4, 0, 1, {"b", "2", "5", "8"}},
        {"", {""}, 1, 0, 0, {""}},
        {"x\t\ty", {"x", "", "y"}, 1, 0, 1, {""}},
        // No final line feed; a trailing empty line is one more (empty) record.
        {"a\tb\n1\t2\n3\t4", {"a", "b"}, 3, 0, 1, {"b", "2", "4"}},
        {"a\tb\n1\t2\n\n", {"a", "b"}, 3, 0, 0, {"a", "1", ""}},
        // A short record does not shift the next one; an extra cell is ignored.
        {"a\tb\tc\n1\t2\t3\n4\t5\n7\t8\t9\t10\n", {"a", "b", "c"}, 4, 1, 2, {"c", "3", "", "9"}},
        // CR LF and LF mixed, a line holding only CR, a CR inside a cell, a CR
        // as the file's last byte.
        {"a\tb\r\n1\t2\n\r\n3\t\r4\r\n5\t6\r", {"a", "b"}, 5, 0, 1, {"b", "2", "", "\r4", "6"}},
    };
    for (const auto& r : rows) {
        std::istringstream s(r.file);
        EXPECT_EQ(readHeader(s), r.header) << r.file;
        const LineCount count = countLines(s, static_cast<int>(r.header.size()));
        EXPECT_EQ(count.lines, r.lines) << r.file;
        EXPECT_EQ(count.shortRecords, r.shortRecords) << r.file;
        EXPECT_EQ(extractColumn(s, r.k, count.lines), r.column) << r.file;
    }
    std::istringstream missing("a\n1\n");
    EXPECT_EQ(extractColumn(missing, 0, 4), (Column{"a", "1", "", ""}));
}

TEST(ScalarFilter, LabelsBelowBetweenAndAbove)
{
    Column column{"mass", "5", "10", "15", "20", "25", "", "x"};
    relabelScalar(column, "10", "20");
    EXPECT_EQ(column, (Column{"mass", "< 10", "> 10 & < 20", "> 10 & < 20", "> 10 & < 20", "> 20", "< 10", "< 10"}));
}

namespace {
LoadedData columns(Column g, Column y, Column x)
{
    LoadedData d;
    d.lineCount = static_cast<int>(g.size());
    d.columns = {std::move(g), std::move(y), std::move(x), {"none"}};
    return d;
}
} // namespace

TEST(GroupLines, AcceptedLinesPointOrderAndCounts)
{
    const LoadedData p = columns({"grp", "A", "A", "", "A", " ", "B", "A", "A"}, {"y", "10", "20", "5", " ", "6", "7", "30", "NA"},
                              {"x", "1", "2", "3", "4", "5", " 6", "3", "1"});
    const GroupedLines d = groupLines(p, Transform::None);
    EXPECT_EQ(d.rejected, 4);
    EXPECT_EQ(d.notNumbers, 1);
    EXPECT_EQ(d.groups.at("A").X, (std::vector<double>{3, 2, 1}));
    EXPECT_EQ(d.groups.at("A").Y, (std::vector<double>{30, 20, 10}));
    EXPECT_EQ(d.groups.at("B").X, (std::vector<double>{6}));
    EXPECT_EQ(d.nameWidth, 7);

    // Under a log, lines not above 0 are left out; a line that is also not a
    // number counts once, as not a number. Names of 12 characters: width 13.
    const LoadedData logs = columns({"g", "abcdefghijkl", "B", "B", "B"}, {"y", "1", "0", "-0", "NA"}, {"x", "2", "1", "3", "0"});
    const GroupedLines l = groupLines(logs, Transform::Ln);
    EXPECT_EQ(l.rejected, 3);
    EXPECT_EQ(l.notPositive, 2);
    EXPECT_EQ(l.notNumbers, 1);
    EXPECT_EQ(l.nameWidth, 13);

    LoadedData filtered = columns({"g", "A", "A", "A", "A"}, {"y", "1", "2", "3", "4"}, {"x", "1", "2", "3", "4"});
    filtered.columns.back() = {"site", "s1", "s2", "s1", "s3"};
    filtered.filterMaps = {{{"s1", 1}, {"s2", 0}}}; // s3 has no entry: removed too
    EXPECT_EQ(groupLines(filtered, Transform::None).groups.at("A").X, (std::vector<double>{3, 1}));
}
