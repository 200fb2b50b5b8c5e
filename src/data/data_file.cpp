#include "data/data_file.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "data/csv_file.h"

OpenedData openData(const std::string& name)
{
    // A folder opens as a stream but holds no data.
    std::error_code ec;
    if (std::filesystem::is_directory(name, ec))
        return {};
    auto file = std::make_unique<std::ifstream>(name, std::ios::in | std::ios::binary);
    if (!file->is_open())
        return {};
    if (!isCsvName(name))
        return {std::move(file), std::string()};
    std::ostringstream bytes;
    bytes << file->rdbuf();
    CsvTable table = csvAsTabSeparated(bytes.str());
    if (!table.problem.empty())
        return {nullptr, name + ": " + table.problem};
    return {std::make_unique<std::istringstream>(std::move(table.text)), std::string()};
}

bool readLine(std::istream& file, std::string& line)
{
    if (!std::getline(file, line))
        return false;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
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
    std::string row;
    readLine(file, row);
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
    while (readLine(file, line)) {
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
        if (!readLine(file, line))
            line.clear();
        column.push_back(cellOf(line, k));
    }
    return column;
}
