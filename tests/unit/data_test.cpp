// Reading what the user types and what the data file holds: the text checks,
// the data file reader (comma-separated files turned into tab-separated text
// too), scalar filter labels and the grouping of data lines.
// Expected values are the program's documented rules worked by hand.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "data/csv_file.h"
#include "data/data_file.h"
#include "data/entry_checks.h"
#include "data/errors.h"
#include "data/grouping.h"
#include "data/number_text.h"
#include "data/same_file.h"
#include "data/scalar_filter.h"
#include "data/variable_names.h"
#include "korvel/settings.h"

using namespace korvel;

namespace {
// The text as a data file in the temporary folder, named after the test (tests
// run side by side), removed at the end of the test.
class TextFile {
public:
    explicit TextFile(const std::string& text)
        : path(testing::TempDir() + "korvel-" + testing::UnitTest::GetInstance()->current_test_info()->name() + "-" +
               std::to_string(++made) + ".txt")
    {
        std::ofstream(path, std::ios::binary) << text;
    }
    ~TextFile() { std::remove(path.c_str()); }
    const std::string path;

private:
    static inline int made = 0;
};

// The data of the text's file with the variables chosen (Y and X required).
LoadedData loaded(const std::string& text, const ColumnSelection& chosen)
{
    const TextFile file(text);
    const DataFile data(file.path);
    return loadColumns(data, chosen, data.countLines().lines);
}
} // namespace

TEST(TextChecks, PromptValidators)
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
        EXPECT_EQ(isDigits(r.text), r.digits) << r.text;
        EXPECT_EQ(isWholeNumber(r.text), r.fitsInt) << r.text;
        EXPECT_EQ(isDigitsAndPoints(r.text), r.decimal) << r.text;
        EXPECT_EQ(isWholeNumberIn(r.text, 1, 100), r.percent) << r.text;
        EXPECT_EQ(isDecimalIn(r.text, 0.0f, 1.0f), r.probability) << r.text;
    }
    EXPECT_FALSE(isFiniteDecimal(std::string(400, '9')));
}

// The settings a request may hold: each out of its range is one problem
// naming it; the ends of each range are in it.
TEST(Settings, ProblemsOfValuesOutOfTheirRanges)
{
    const struct {
        void (*set)(AnalysisSettings&);
        const char* problem; // "" for none
    } rows[] = {
        {[](AnalysisSettings&) {}, ""},
        {[](AnalysisSettings& s) { s.confidence = 99; }, ""},
        {[](AnalysisSettings& s) { s.confidence = 100; }, "confidence 100: not a whole percent from 1 to 99"},
        {[](AnalysisSettings& s) { s.minGroupSize = 50; }, ""},
        {[](AnalysisSettings& s) { s.minGroupSize = 0; }, "minimum group size 0: not a whole number from 1 to 50"},
        {[](AnalysisSettings& s) { s.iterations = 0; }, "iterations 0: not a whole number from 1 up"},
        {[](AnalysisSettings& s) { s.criticalP = 1; }, ""},
        {[](AnalysisSettings& s) { s.criticalP = 1.5; }, "critical p 1.500000: not a number from 0 to 1"},
        {[](AnalysisSettings& s) { s.criticalP = -0.5; }, "critical p -0.500000: not a number from 0 to 1"},
    };
    for (const auto& r : rows) {
        AnalysisSettings settings;
        r.set(settings);
        const std::vector<std::string> problems = settingsProblems(settings);
        EXPECT_EQ(problems, std::string(r.problem).empty() ? std::vector<std::string>{}
                                                           : std::vector<std::string>{r.problem});
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
        // As strtod reads them: a sign once, an exponent with digits, one point.
        {"+-5", false, 0},      {"++5", false, 0},    {"-", false, 0},       {"+", false, 0},
        {"1e", false, 0},       {"1.5.2", false, 0},  {"e5", false, 0},      {"-.5e+2", true, -50},
        {"1e-310", true, 1e-310}, {"0012.5E-1", true, 1.25},
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
        std::vector<std::string> header;
        int lines, shortRecords, k;
        std::vector<std::string> column; // cells of the data lines
    } rows[] = {
        {"a\tb\tc\n1\t2\t3\n4\t5\t6\n7\t8\t9\n", {"a", "b", "c"}, 4, 0, 1, {"2", "5", "8"}},
        {"", {""}, 1, 0, 0, {}},
        {"x\t\ty", {"x", "", "y"}, 1, 0, 1, {}},
        // No final line feed; a trailing empty line is one more (empty) record.
        {"a\tb\n1\t2\n3\t4", {"a", "b"}, 3, 0, 1, {"2", "4"}},
        {"a\tb\n1\t2\n\n", {"a", "b"}, 3, 0, 0, {"1", ""}},
        // A short record does not shift the next one; an extra cell is ignored.
        {"a\tb\tc\n1\t2\t3\n4\t5\n7\t8\t9\t10\n", {"a", "b", "c"}, 4, 1, 2, {"3", "", "9"}},
        // CR LF and LF mixed, a line holding only CR, a CR inside a cell, a CR
        // as the file's last byte.
        {"a\tb\r\n1\t2\n\r\n3\t\r4\r\n5\t6\r", {"a", "b"}, 5, 0, 1, {"2", "", "\r4", "6"}},
    };
    for (const auto& r : rows) {
        const TextFile text(r.file);
        const DataFile file(text.path);
        EXPECT_EQ(file.header(), r.header) << r.file;
        const LineCount count = file.countLines();
        EXPECT_EQ(count.lines, r.lines) << r.file;
        EXPECT_EQ(count.shortRecords, r.shortRecords) << r.file;
        ColumnSelection chosen{{}, 0, 0, {{r.k, {}}}};
        const LabelColumn column = loadColumns(file, chosen, count.lines).filters[0].column;
        std::vector<std::string> cells;
        for (std::size_t i = 0; i < column.ids.size(); ++i)
            cells.push_back(column.cell(i));
        EXPECT_EQ(cells, r.column) << r.file;
    }
    // Lines read from a file one, two and three bytes at a time, each crossing blocks, as read from
    // memory.
    std::string many = "name\tvalue\r\n";
    for (int i = 0; i < 40; ++i)
        many += "line " + std::to_string(i) + "\t" + std::string(static_cast<std::size_t>(i % 7), 'x') + "\n";
    many += "\r\nlast";
    const TextFile manyLines(many);
    for (std::size_t block : {1, 2, 3}) {
        LineReader whole{std::string_view(many)}, small(std::fopen(manyLines.path.c_str(), "rb"), block);
        std::string_view a, b;
        for (bool more = whole.next(a); more; more = whole.next(a))
            EXPECT_TRUE(small.next(b) && a == b) << block << ": " << a;
        EXPECT_FALSE(small.next(b)) << block;
    }
    // A file that ends before the counted lines gives empty cells; a folder
    // and a missing file are not opened.
    const TextFile shorter("a\n1\n");
    const LabelColumn padded = loadColumns(DataFile(shorter.path), {{}, 0, 0, {{0, {}}}}, 4).filters[0].column;
    EXPECT_EQ(padded.labels, (std::vector<std::string>{"1", ""}));
    EXPECT_EQ(padded.ids, (std::vector<std::uint32_t>{0, 1, 1}));
    // A cell past the header's last variable has no name, and is read all the same.
    const TextFile wider("a\tb\n1\t2\t3\n");
    const LabelColumn extra = loadColumns(DataFile(wider.path), {{}, 0, 1, {{2, {}}}}, 2).filters[0].column;
    EXPECT_EQ(extra.name, "");
    EXPECT_EQ(extra.labels, (std::vector<std::string>{"3"}));
    EXPECT_THROW(DataFile{testing::TempDir()}, FileNotOpened);
    EXPECT_THROW(DataFile{testing::TempDir() + "no-such-file.txt"}, FileNotOpened);
}

TEST(DataFile, CommaSeparatedByFormatNameOrContent)
{
    const struct {
        DataFormat format;
        bool readOnce; // standard input, else a regular file named .txt
        const char* text;
        std::vector<std::string> header;
    } rows[] = {
        {DataFormat::ByContent, true, "a,b\n1,2\n", {"a", "b"}},
        {DataFormat::ByContent, true, "a\tb,c\n1\t2\n", {"a", "b,c"}}, // a tab in the first line: tabs
        {DataFormat::ByContent, true, "a;b\n1,2\n", {"a;b"}},           // the first line alone counts
        {DataFormat::ByName, true, "a,b\n", {"a,b"}},
        {DataFormat::Tsv, true, "a,b\n", {"a,b"}},
        {DataFormat::Csv, true, "\"a\tb\",c\n", {"a b", "c"}},
        {DataFormat::ByContent, false, "a,b\n", {"a,b"}}, // a regular file is known by its name
        {DataFormat::Csv, false, "a,b\n1,2\n", {"a", "b"}},
    };
    for (const auto& r : rows) {
        std::istringstream in(r.text);
        const TextFile file(r.text);
        const DataFile data = r.readOnce ? DataFile("-", in, r.format) : DataFile(file.path, r.format);
        EXPECT_EQ(data.header(), r.header) << r.text;
        EXPECT_EQ(data.countLines().lines, std::count(r.text, r.text + std::strlen(r.text), '\n')) << r.text;
    }
    const std::string csvName = testing::TempDir() + "korvel-format-test.csv";
    std::ofstream(csvName) << "a,b\n";
    EXPECT_EQ(DataFile(csvName, DataFormat::Tsv).header(), std::vector<std::string>{"a,b"});
    EXPECT_EQ(DataFile(csvName).header(), (std::vector<std::string>{"a", "b"}));
    std::remove(csvName.c_str());
}

TEST(DataFile, TheSameFileByNameOrPath)
{
    // Links in a folder of their own: to a file not there yet (r.txt), a chain of them, one from a
    // subfolder, and two hard links to one file.
    namespace fs = std::filesystem;
    const std::string d = testing::TempDir() + "korvel-same-file/";
    fs::remove_all(d);
    fs::create_directories(d + "sub");
    fs::create_symlink("r.txt", d + "link.txt");
    fs::create_symlink("link.txt", d + "chain.txt");
    fs::create_symlink("../chain.txt", d + "sub/up.txt");
    std::ofstream(d + "h1.txt") << "x";
    fs::create_hard_link(d + "h1.txt", d + "h2.txt");
    // The other names do not exist: the paths are compared once normalised.
    const struct {
        std::string a, b;
        bool same;
    } rows[] = {{"r.txt", "r.txt", true}, {"sub/../r.txt", "./r.txt", true}, {"r.txt", "s.txt", false},
                {std::string(300, 'r'), "r.txt", false}, // a name too long to normalise is another file
                {d + "link.txt", d + "r.txt", true},     {d + "r.txt", d + "chain.txt", true},
                {d + "sub/up.txt", d + "sub/../r.txt", true}, {d + "link.txt", d + "sub/r.txt", false},
                {d + "h1.txt", d + "h2.txt", true},      {d + "h1.txt", d + "link.txt", false}};
    for (const auto& r : rows)
        EXPECT_EQ(sameFile(r.a, r.b), r.same) << r.a << " " << r.b;
    fs::remove_all(d);
}

TEST(DataFile, VariablesByNameOrColumnNumber)
{
    const std::vector<std::string> header = {"Sex", "Bwt", "Hwt", "Bwt"};
    const struct {
        const char* text;
        std::optional<int> index;
    } rows[] = {{"Hwt", 2}, {"Bwt", 1}, {"0", 0}, {"3", 3}, {"4", std::nullopt}, {"", std::nullopt},
                {"-1", std::nullopt}, {"1.0", std::nullopt}, {"hwt", std::nullopt}};
    for (const auto& r : rows)
        EXPECT_EQ(variableIndex(header, r.text), r.index) << r.text;
}

TEST(ScalarFilter, LabelsBelowBetweenAndAbove)
{
    const LoadedData d = loaded("y\tx\tmass\n1\t1\t5\n1\t1\t10\n1\t1\t15\n1\t1\t20\n1\t1\t25\n1\t1\t\n1\t1\tx\n",
                                {{}, 0, 1, {{2, {{"10", "20"}}}}});
    const LabelColumn& c = d.filters[0].column;
    EXPECT_EQ(c.labels, (std::vector<std::string>{"< 10", "> 10 & < 20", "> 20"}));
    EXPECT_EQ(c.ids, (std::vector<std::uint32_t>{0, 1, 1, 1, 2, 0, 0}));
    EXPECT_EQ(d.filters[0].keep.size(), 3u);
}

TEST(GroupLines, AcceptedLinesPointOrderAndCounts)
{
    const ColumnSelection gyx{{0}, 1, 2, {}};
    const GroupedLines d = groupLines(loaded("grp\ty\tx\nA\t10\t1\nA\t20\t2\n\t5\t3\nA\t \t4\n \t6\t5\n"
                                             "B\t7\t 6\nA\t30\t3\nA\tNA\t1\n",
                                             gyx),
                                      Transform::None);
    EXPECT_EQ(d.rejected, 4);
    EXPECT_EQ(d.notNumbers, 1);
    EXPECT_EQ(d.groups.at("A").X, (std::vector<double>{3, 2, 1}));
    EXPECT_EQ(d.groups.at("A").Y, (std::vector<double>{30, 20, 10}));
    EXPECT_EQ(d.groups.at("B").X, (std::vector<double>{6}));

    // Under a log, lines not above 0 are left out; a line that is also not a
    // number counts once, as not a number.
    const GroupedLines l =
        groupLines(loaded("g\ty\tx\nabcdefghijkl\t1\t2\nB\t0\t1\nB\t-0\t3\nB\tNA\t0\n", gyx), Transform::Ln);
    EXPECT_EQ(l.rejected, 3);
    EXPECT_EQ(l.notPositive, 2);
    EXPECT_EQ(l.notNumbers, 1);

    // Two grouping variables joined by a blank; a filter's removed cell.
    LoadedData filtered = loaded("g\th\ty\tx\tsite\nA\tu\t1\t1\ts1\nA\tu\t2\t2\ts2\nA\tu\t3\t3\ts1\nA\tv\t4\t4\ts3\n",
                                 {{0, 1}, 2, 3, {{4, {}}}});
    EXPECT_EQ(filtered.grouping.name, "g h");
    filtered.filters[0].keep["s2"] = false;
    const GroupedLines f = groupLines(filtered, Transform::None);
    EXPECT_EQ(f.groups.at("A u").X, (std::vector<double>{3, 1}));
    EXPECT_EQ(f.groups.at("A v").X, (std::vector<double>{4}));

    // Many distinct groups, each met twice: each held once, in order of first appearance.
    std::string many = "g\ty\tx\n";
    for (int pass = 0; pass < 2; ++pass)
        for (int k = 0; k < 300; ++k)
            many += "G" + std::to_string(k) + "\t" + std::to_string(k + pass) + "\t" + std::to_string(pass) + "\n";
    const LoadedData manyGroups = loaded(many, gyx);
    ASSERT_EQ(manyGroups.grouping.labels.size(), 300u);
    EXPECT_EQ(manyGroups.grouping.labels[299], "G299");
    EXPECT_EQ(manyGroups.grouping.ids[599], 299u);
    EXPECT_EQ(groupLines(manyGroups, Transform::None).groups.at("G7").Y, (std::vector<double>{8, 7}));
}

TEST(CsvFile, TabSeparatedTextOrTheProblem)
{
    const struct {
        const char* csv;
        const char* text;
        const char* problem;
    } rows[] = {
        {"a,b\n1,2\n", "a\tb\n1\t2\n", ""},
        {"a,b\n1,2", "a\tb\n1\t2\n", ""}, // the last record needs no line end
        {"", "", ""},
        {"\"x,y\",\"2\"\n", "x,y\t2\n", ""},
        {"\"say \"\"hi\"\"\",\"\"\"\"\n", "say \"hi\"\t\"\n", ""},
        // Line ends and tabs inside a cell become blanks, quoted or not.
        {"\"a\nb\",\"c\r\nd\",\"e\tf\",g\th\n", "a b\tc  d\te f\tg h\n", ""},
        {"a,b\r\n\"1\",2\r\n", "a\tb\n1\t2\n", ""},
        {"a\rb\r", "a\nb\n", ""}, // a lone carriage return ends a record too
        {" a , b \n", " a \t b \n", ""},
        {"a,b,c\n1\n2,,\n", "a\tb\tc\n1\n2\t\t\n", ""},
        {"\xEF\xBB\xBF" "Sex,Bwt\n", "Sex\tBwt\n", ""},
        {"a\n\n\r\n\nb\n", "a\nb\n", ""}, // blank lines hold no record
        {"\"\"\n,\n", "\n\t\n", ""},
        // The line where the open quote was: after a quoted line feed, after
        // CR LF, blank and lone-CR lines.
        {"h\n\"x\ny\"\n1,\"open\n2\n", "", "line 4: quote not closed"},
        {"h\r\n\"a\r\nb\"\r\n\r\n\r\"c\r\n", "", "line 6: quote not closed"},
        {"\xEF\xBB\xBF\"", "", "line 1: quote not closed"},
        {"a\n\"p\nq\"x\n", "", "line 3: text after a closing quote"},
        {"\"b\" ,c\n", "", "line 1: text after a closing quote"},
        {"a\r\nb\"c\n", "", "line 2: quote inside an unquoted cell"},
        {"a, \"b\"\n", "", "line 1: quote inside an unquoted cell"},
    };
    for (const auto& r : rows) {
        const CsvTable table = csvAsTabSeparated(r.csv);
        EXPECT_EQ(table.text, r.text) << r.csv;
        EXPECT_EQ(table.problem, r.problem) << r.csv;
    }
}

TEST(CsvFile, NamesEndingInCsv)
{
    for (const char* name : {"data.csv", "DATA.CSV", "a/b.Csv", ".csv", "x.txt.csv"})
        EXPECT_TRUE(isCsvName(name)) << name;
    for (const char* name : {"", "csv", "data_csv", "data.cs", "data.csv.txt", "data.csvx", "data.tsv"})
        EXPECT_FALSE(isCsvName(name)) << name;
}
