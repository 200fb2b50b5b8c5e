// Comma-separated data files turned into the tab-separated text the data file
// reader reads. Expected texts and line numbers are worked by hand.
#include <gtest/gtest.h>

#include "data/csv_file.h"

using namespace korvel;

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
