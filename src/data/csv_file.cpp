#include "data/csv_file.h"

#include <cctype>
#include <cstddef>
#include <string>
#include <utility>

#include <csv.h>

namespace korvel {

namespace {
// The tab-separated text as libcsv hands over cells and record ends.
struct TabText {
    std::string text;
    bool firstCell = true; // the next cell starts a record
    bool cellOpen = false; // a cell has begun and not yet been handed over
};

void addCell(void* cell, std::size_t size, void* data)
{
    TabText& out = *static_cast<TabText*>(data);
    if (!out.firstCell)
        out.text += '\t';
    out.firstCell = false;
    out.cellOpen = false;
    const std::size_t from = out.text.size();
    if (size > 0)
        out.text.append(static_cast<const char*>(cell), size);
    for (std::size_t i = from; i < out.text.size(); ++i)
        if (out.text[i] == '\t' || out.text[i] == '\n' || out.text[i] == '\r')
            out.text[i] = ' ';
}

void endRecord(int, void* data)
{
    TabText& out = *static_cast<TabText*>(data);
    out.text += '\n';
    out.firstCell = true;
}

// No character counts as a blank to trim: blanks around an unquoted cell
// belong to it, as in a tab-separated file.
int noBlank(unsigned char)
{
    return 0;
}

std::string lineText(int line, const char* what)
{
    return "line " + std::to_string(line) + ": " + what;
}

// Frees the parser however the reading ends.
struct Parser {
    csv_parser p;
    bool ready = csv_init(&p, CSV_STRICT | CSV_STRICT_FINI) == 0;
    ~Parser()
    {
        if (ready)
            csv_free(&p);
    }
};
} // namespace

bool isCsvName(const std::string& name)
{
    if (name.size() < 4)
        return false;
    std::string end = name.substr(name.size() - 4);
    for (char& c : end)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return end == ".csv";
}

CsvTable csvAsTabSeparated(const std::string& bytes)
{
    Parser parser;
    if (!parser.ready)
        return {std::string(), "out of memory"};
    csv_set_space_func(&parser.p, noBlank);
    TabText out;
    out.text.reserve(bytes.size());

    // libcsv does not count lines, so it is fed one byte at a time and the
    // line ends are counted here: a line feed, a carriage return, or both
    // together, the same ones that end a record. A blank line (nothing
    // between two line ends) is skipped by libcsv: it is no record and gives
    // no line of the text, but it still counts for the line numbers.
    const std::size_t start = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    int line = 1;
    int cellLine = 1; // where the cell still open began
    bool afterReturn = false;
    for (std::size_t i = start; i < bytes.size(); ++i) {
        const char c = bytes[i];
        const bool lineEnd = c == '\n' || c == '\r';
        // Outside a cell, any byte but a line end begins one (a comma begins
        // and ends an empty one at once).
        if (!out.cellOpen && !lineEnd) {
            out.cellOpen = true;
            cellLine = line;
        }
        if (csv_parse(&parser.p, &c, 1, addCell, endRecord, &out) != 1) {
            if (csv_error(&parser.p) != CSV_EPARSE)
                return {std::string(), csv_strerror(csv_error(&parser.p))};
            // No blank is trimmed, so a quote can be refused only inside an
            // unquoted cell, and anything else only right after a closing quote.
            return {std::string(), lineText(line, c == '"' ? "quote inside an unquoted cell"
                                                          : "text after a closing quote")};
        }
        if (c == '\r' || (c == '\n' && !afterReturn))
            ++line;
        afterReturn = c == '\r';
    }
    if (csv_fini(&parser.p, addCell, endRecord, &out) != 0)
        return {std::string(), lineText(cellLine, "quote not closed")};
    return {std::move(out.text), std::string()};
}

} // namespace korvel
