#include "datafile.h"

std::string read_file(std::istream& file, char delim)
{
    std::string text;
    char c;
    while (file.get(c) && c != '\n' && c != delim)
        text += c;
    return text;
}

static int cellCount(const std::string& line)
{
    int cells = 1;
    for (char c : line)
        if (c == '\t')
            ++cells;
    return cells;
}

std::vector<std::string> readHeader(std::istream& file)
{
    const std::string row = read_file(file, '\n');
    std::vector<std::string> names;
    std::string::size_type start = 0;
    for (;;) {
        const auto tab = row.find('\t', start);
        names.push_back(row.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            break;
        start = tab + 1;
    }
    return names;
}

LineCount countLines(std::istream& file, int nCells)
{
    LineCount count;
    count.lines = 1;
    std::string line;
    while (std::getline(file, line)) {
        ++count.lines;
        if (!line.empty() && cellCount(line) < nCells)
            ++count.shortRecords;
    }
    return count;
}

std::string cellOf(const std::string& line, int k)
{
    std::string::size_type start = 0;
    for (int skipped = 0; skipped < k; ++skipped) {
        start = line.find('\t', start);
        if (start == std::string::npos)
            return std::string();
        ++start;
    }
    const auto end = line.find('\t', start);
    return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::vector<std::string> extractColumn(std::istream& file, int k, int nLines)
{
    file.clear();
    file.seekg(0);
    std::vector<std::string> column;
    column.reserve(static_cast<std::size_t>(nLines > 0 ? nLines : 0));
    std::string line;
    for (int r = 0; r < nLines; ++r) {
        if (!std::getline(file, line))
            line.clear();
        column.push_back(cellOf(line, k));
    }
    return column;
}
