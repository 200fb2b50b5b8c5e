// Text helpers: padding, number conversion and the checks of typed entries.
#include <sstream>

#include <gtest/gtest.h>

#include "text.h"

static std::string padded(const std::string& text, int width)
{
    std::ostringstream s;
    Print_String(text, s, width);
    return s.str();
}

TEST(PrintString, PadsShortTextAndNeverCuts)
{
    EXPECT_EQ(padded("ab", 5), "ab   ");
    EXPECT_EQ(padded("abcdef", 5), "abcdef");
    EXPECT_EQ(padded("abc", 3), "abc");
    EXPECT_EQ(padded("ab", 0), "ab");
    EXPECT_EQ(padded("ab", -4), "ab");
    EXPECT_EQ(padded("", 3), "   ");
}

TEST(StrTodouble, FollowsAtof)
{
    EXPECT_DOUBLE_EQ(StrTodouble("  2.5kg"), 2.5);
    EXPECT_DOUBLE_EQ(StrTodouble("NA"), 0.0);
    EXPECT_DOUBLE_EQ(StrTodouble(""), 0.0);
    EXPECT_DOUBLE_EQ(StrTodouble("-1e2"), -100.0);
    EXPECT_DOUBLE_EQ(StrTodouble("3.5\r"), 3.5);
}

TEST(IsInteger, DigitsOnly)
{
    EXPECT_TRUE(isInteger(""));
    EXPECT_TRUE(isInteger("007"));
    for (const char* bad : {"-3", "+3", " 3", "3.0", "3a"})
        EXPECT_FALSE(isInteger(bad)) << bad;
}

TEST(IsDecimal, DigitsAndPoints)
{
    for (const char* good : {"", "0.05", ".5", "5.", "..", "1.2.3"})
        EXPECT_TRUE(isDecimal(good)) << good;
    for (const char* bad : {"-0.5", "1e-3", " 1", "1,5"})
        EXPECT_FALSE(isDecimal(bad)) << bad;
}

TEST(StrCompare, NumericGreaterThan)
{
    EXPECT_TRUE(StrCompare("10", "9"));
    EXPECT_FALSE(StrCompare("5", "5.0"));
    EXPECT_TRUE(StrCompare("abc", "-1"));
    EXPECT_FALSE(StrCompare("-1", "abc"));
}

TEST(IsBetween, InclusiveBoundsAndNoOverflow)
{
    EXPECT_TRUE(isBetween("100", 0, 100));
    EXPECT_TRUE(isBetween("0", 0, 100));
    EXPECT_FALSE(isBetween("101", 0, 100));
    EXPECT_FALSE(isBetween("abc", 0, 100));
    EXPECT_TRUE(isBetween("007", 1, 50));
    EXPECT_FALSE(isBetween("95.5", 1, 100));
    // 2^32 + 5 would wrap to 5 in a 32-bit conversion; it must be refused.
    EXPECT_FALSE(isBetween("4294967301", 1, 100));
    EXPECT_FALSE(isBetween("99999999999999999999", 0, 100));
}

TEST(IsIntegerInRange, LargestIntOnly)
{
    EXPECT_TRUE(isIntegerInRange("2147483647"));
    EXPECT_TRUE(isIntegerInRange("0"));
    EXPECT_FALSE(isIntegerInRange("2147483648"));
    EXPECT_FALSE(isIntegerInRange("-1"));
}

TEST(IsBetweenDec, SinglePrecisionBounds)
{
    EXPECT_TRUE(isBetween_dec("1", 0.0f, 1.0f));
    EXPECT_TRUE(isBetween_dec("0", 0.0f, 1.0f));
    EXPECT_TRUE(isBetween_dec("0.05", 0.0f, 1.0f));
    EXPECT_FALSE(isBetween_dec("1.5", 0.0f, 1.0f));
    EXPECT_FALSE(isBetween_dec("1.01", 0.0f, 1.0f));
    EXPECT_FALSE(isBetween_dec("5e-2", 0.0f, 1.0f));
    // 1 + 2^-30 is above 1 as a double but exactly 1 in single precision.
    EXPECT_TRUE(isBetween_dec("1.000000000931322574615478515625", 0.0f, 1.0f));
}

TEST(NumberChecks, FiniteDecimalAndTypedNumber)
{
    EXPECT_TRUE(isFiniteDecimal("2.5"));
    EXPECT_FALSE(isFiniteDecimal(std::string(400, '9')));
}

TEST(NumberChecks, DecimalValueOfCellsAndTypedNumbers)
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
