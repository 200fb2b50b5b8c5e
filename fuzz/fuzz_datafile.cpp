// libFuzzer target: the data file reader (src/data/data_file.h) on arbitrary
// bytes. Checks, besides the sanitizers' own findings:
//  - readHeader gives one name more than the first line has tabs, and no name
//    holds a tab or a line feed;
//  - countLines counts the header plus every line after it (a last line
//    without a line feed included) and never more short records than records;
//  - extractColumn gives exactly nLines cells (none when nLines <= 0), with no
//    line feed and no tab in any cell, cell r being cellOf(line r, k);
//  - cellOf agrees with a plain split of the line on tabs;
//  - a carriage return that ends a line is never part of a name or a cell;
//  - read as comma-separated values (src/data/csv_file.h), the bytes give a
//    problem and no text, or whole records with no carriage return; without a
//    quote, each non-blank line is one record, its commas the tabs and its
//    tabs blanks; and the text, written back with every cell quoted, reads
//    back the same.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "data/csv_file.h"
#include "data/data_file.h"

namespace {
[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "fuzz_datafile: invariant broken: %s\n", what);
    std::abort();
}

void check(bool ok, const char* what)
{
    if (!ok)
        fail(what);
}

std::vector<std::string> split(const std::string& text, char sep)
{
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    for (;;) {
        const auto at = text.find(sep, start);
        parts.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos)
            return parts;
        start = at + 1;
    }
}

// The lines of the whole text, each less one carriage return that ends it: a
// last line without a line feed counts, an empty text has no line.
std::string withoutEndingReturn(std::string line)
{
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines = split(text, '\n');
    if (!lines.empty() && lines.back().empty())
        lines.pop_back();
    for (std::string& line : lines)
        line = withoutEndingReturn(line);
    return lines;
}

void checkColumn(const std::string& text, const std::vector<std::string>& lines, int k, int nLines)
{
    std::istringstream in(text);
    in.seekg(0, std::ios::end); // extractColumn must rewind by itself
    const std::vector<std::string> column = extractColumn(in, k, nLines);
    check(column.size() == static_cast<std::size_t>(nLines > 0 ? nLines : 0), "extractColumn size");
    for (std::size_t r = 0; r < column.size(); ++r) {
        check(column[r].find('\n') == std::string::npos, "line feed in a cell");
        check(column[r].find('\t') == std::string::npos, "tab in a cell");
        const std::string expected = r < lines.size() ? cellOf(lines[r], k) : std::string();
        check(column[r] == expected, "extractColumn cell differs from cellOf of its line");
    }
}
// The tab-separated text written back as comma-separated values, every cell
// quoted and its quotes doubled.
std::string quotedCsv(const std::string& text)
{
    std::string csv;
    for (const std::string& record : linesOf(text)) {
        for (const std::string& cell : split(record, '\t')) {
            csv += csv.empty() || csv.back() == '\n' ? "\"" : ",\"";
            for (char c : cell)
                csv += c == '"' ? "\"\"" : std::string(1, c);
            csv += '"';
        }
        csv += "\r\n";
    }
    return csv;
}

void checkCsv(const std::string& bytes)
{
    const CsvTable table = csvAsTabSeparated(bytes);
    check(table.problem.empty() || table.text.empty(), "CSV text beside a problem");
    check(table.text.find('\r') == std::string::npos, "carriage return in the CSV text");
    check(table.text.empty() || table.text.back() == '\n', "CSV text ends inside a record");
    if (bytes.find('"') == std::string::npos) {
        std::string expected, line;
        for (std::size_t i = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0; i <= bytes.size(); ++i) {
            const char c = i < bytes.size() ? bytes[i] : '\n';
            if (c == '\n' || c == '\r') {
                expected += line.empty() ? "" : line + '\n';
                line.clear();
            } else {
                line += c == ',' ? '\t' : c == '\t' ? ' ' : c;
            }
        }
        check(table.problem.empty() && table.text == expected, "CSV without quotes read otherwise than split");
    }
    const CsvTable again = csvAsTabSeparated(quotedCsv(table.text));
    check(again.problem.empty() && again.text == table.text, "CSV text written back with quotes reads otherwise");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 64 * 1024)
        return -1;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = linesOf(text);
    const std::string firstLine = withoutEndingReturn(text.substr(0, text.find('\n')));

    // Header.
    std::istringstream in(text);
    const std::vector<std::string> header = readHeader(in);
    check(header == split(firstLine, '\t'), "readHeader differs from a split of the first line on tabs");
    for (const auto& name : header)
        check(name.find('\n') == std::string::npos, "line feed in a name");

    // Line count, from where readHeader left the stream.
    const int nCells = static_cast<int>(header.size());
    const LineCount count = countLines(in, nCells);
    const std::size_t headerEnd = text.find('\n');
    const std::string rest = headerEnd == std::string::npos ? std::string() : text.substr(headerEnd + 1);
    const std::vector<std::string> records = linesOf(rest);
    check(count.lines == 1 + static_cast<int>(records.size()), "countLines total");
    int shortRecords = 0;
    for (const auto& line : records)
        if (!line.empty() && static_cast<int>(split(line, '\t').size()) < nCells)
            ++shortRecords;
    check(count.shortRecords == shortRecords, "countLines short records");
    check(count.shortRecords <= count.lines - 1, "more short records than records");

    // Columns: every variable, one past the last, and line counts around the
    // true one (including none and a negative count).
    for (int k = 0; k <= nCells && k < 40; ++k)
        checkColumn(text, lines, k, count.lines);
    checkColumn(text, lines, 0, 0);
    checkColumn(text, lines, 0, -3);
    checkColumn(text, lines, nCells - 1, count.lines + 2);
    checkColumn(text, lines, -1, count.lines); // a negative index reads as cell 0

    // cellOf against a plain split, on the first lines.
    for (std::size_t r = 0; r < lines.size() && r < 8; ++r) {
        const std::vector<std::string> cells = split(lines[r], '\t');
        for (int k = 0; k <= static_cast<int>(cells.size()) + 1; ++k) {
            const std::string cell = cellOf(lines[r], k);
            if (k < static_cast<int>(cells.size()))
                check(cell == cells[static_cast<std::size_t>(k)], "cellOf differs from a split on tabs");
            else
                check(cell.empty(), "cellOf past the last cell not empty");
        }
    }

    // readLine gives the same lines, and stops at the end of the text.
    std::istringstream again(text);
    std::string line;
    for (const std::string& expected : lines) {
        check(readLine(again, line), "readLine stopped early");
        check(line == expected, "readLine differs from a split on line feeds");
    }
    check(!readLine(again, line), "readLine read past the end");

    checkCsv(text);
    return 0;
}
