// libFuzzer target: the data file reader (src/data/data_file.h, line_reader.h,
// loaded_data.h) on arbitrary bytes. Checks, besides the sanitizers' own
// findings:
//  - the lines read from memory, and from a file in blocks of 1 to 8 bytes,
//    are the text split on line feeds, each less a carriage return that ends
//    it (a last line without a line feed counts, an empty text has none);
//  - the header gives one name more than the first line has tabs;
//  - countLines counts the header plus every line after it and never more
//    short records than records;
//  - every column read in one pass gives cell r = cellOf(line r, k), empty
//    past the end, and a Y or X cell is a number exactly when decimalValue
//    reads one, blank when empty or one blank;
//  - cellOf agrees with a plain split of the line on tabs;
//  - read as comma-separated values (src/data/csv_file.h), the bytes give a
//    problem and no text, or whole records with no carriage return; without a
//    quote, each non-blank line is one record, its commas the tabs and its
//    tabs blanks; and the text, written back with every cell quoted, reads
//    back the same.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "data/csv_file.h"
#include "data/data_file.h"
#include "data/loaded_data.h"
#include "data/number_text.h"

using namespace korvel;

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

std::string withoutEndingReturn(std::string line)
{
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

// The lines of the whole text, each less one carriage return that ends it: a
// last line without a line feed counts, an empty text has no line.
std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines = split(text, '\n');
    if (!lines.empty() && lines.back().empty())
        lines.pop_back();
    for (std::string& line : lines)
        line = withoutEndingReturn(line);
    return lines;
}

void checkLines(LineReader reader, const std::vector<std::string>& lines, const char* what)
{
    std::string_view line;
    for (const std::string& expected : lines)
        check(reader.next(line) && line == expected, what);
    check(!reader.next(line), what);
}

void checkColumns(const DataFile& file, const std::vector<std::string>& lines, int nCells, int lineCount)
{
    for (int k = 0; k <= nCells && k < 40; ++k) {
        const LoadedData data = loadColumns(file, {{}, k, k, {{k, {}}}}, lineCount + (k % 3) - 1);
        const LabelColumn& column = data.filters[0].column;
        for (std::size_t r = 0; r < column.ids.size(); ++r) {
            const std::string cell = r + 1 < lines.size() ? std::string(cellOf(lines[r + 1], k)) : std::string();
            check(column.cell(r) == cell, "a column's cell differs from cellOf of its line");
            const CellKind kind = cell.empty() || cell == " " ? CellKind::Blank
                                  : decimalValue(cell)         ? CellKind::Number
                                                               : CellKind::NotANumber;
            check(data.y.kinds[r] == kind, "a Y cell of the wrong kind");
            check(kind != CellKind::Number || data.y.values[r] == *decimalValue(cell), "a Y value differs");
        }
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
    checkLines(LineReader(text), lines, "lines read from memory differ from a split on line feeds");
    std::FILE* memory = fmemopen(const_cast<char*>(text.data()), text.size(), "rb");
    if (memory)
        checkLines(LineReader(memory, 1 + size % 8), lines, "lines read in blocks differ from a split on line feeds");

    static const std::string path = "/tmp/fuzz-datafile-" + std::to_string(getpid()) + ".txt";
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    const DataFile file(path);
    const std::string firstLine = lines.empty() ? std::string() : lines[0];
    check(file.header() == split(firstLine, '\t'), "the header differs from a split of the first line on tabs");
    const int nCells = static_cast<int>(file.header().size());
    const LineCount count = file.countLines();
    check(count.lines == std::max<int>(1, static_cast<int>(lines.size())), "countLines total");
    int shortRecords = 0;
    for (std::size_t r = 1; r < lines.size(); ++r)
        if (!lines[r].empty() && static_cast<int>(split(lines[r], '\t').size()) < nCells)
            ++shortRecords;
    check(count.shortRecords == shortRecords, "countLines short records");
    check(count.shortRecords <= count.lines - 1, "more short records than records");
    checkColumns(file, lines, nCells, count.lines);

    for (std::size_t r = 0; r < lines.size() && r < 8; ++r) {
        const std::vector<std::string> cells = split(lines[r], '\t');
        for (int k = 0; k <= static_cast<int>(cells.size()) + 1; ++k) {
            const std::string_view cell = cellOf(lines[r], k);
            if (k < static_cast<int>(cells.size()))
                check(cell == cells[static_cast<std::size_t>(k)], "cellOf differs from a split on tabs");
            else
                check(cell.empty(), "cellOf past the last cell not empty");
        }
    }
    checkCsv(text);
    return 0;
}
