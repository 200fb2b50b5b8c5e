#include "data/data_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "data/csv_file.h"
#include "data/errors.h"

namespace korvel {

namespace {
// Every byte of the stream, told to the progress as it comes; total: the
// bytes there are, 0 when not known.
std::string wholeFile(std::istream& in, Progress& progress, std::uint64_t total)
{
    std::string text;
    std::vector<char> block(std::size_t(1) << 20);
    progress.begin(Stage::Reading, static_cast<long long>(total), static_cast<double>(total));
    while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0) {
        text.append(block.data(), static_cast<std::size_t>(in.gcount()));
        progress.advance(static_cast<long long>(text.size()));
    }
    progress.end();
    return text;
}

// Whether the text is comma-separated values: as the format says, or the
// name, or, for what can be read only once, its first line (commas and no tab).
bool commaSeparated(DataFormat format, const std::string& name, bool readOnce, std::string_view text)
{
    if (format == DataFormat::Csv || format == DataFormat::Tsv)
        return format == DataFormat::Csv;
    const std::string_view first = text.substr(0, text.find('\n'));
    return isCsvName(name) || (format == DataFormat::ByContent && readOnce && first.find(',') != std::string_view::npos &&
                               first.find('\t') == std::string_view::npos);
}

std::vector<std::string> namesOf(std::string_view line)
{
    std::vector<std::string> names;
    for (;;) {
        const auto tab = line.find('\t');
        names.emplace_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            return names;
        line.remove_prefix(tab + 1);
    }
}
} // namespace

DataFile::DataFile(const std::string& name, DataFormat format, Progress& progress) : fileName(name)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(name, ec);
    if (fs::is_directory(status))
        throw FileNotOpened(name, std::strerror(EISDIR));
    std::ifstream file(name, std::ios::in | std::ios::binary);
    if (!file.is_open())
        throw FileNotOpened(name, systemReason());
    const bool readOnce = !fs::is_regular_file(status);
    byteCount = readOnce ? 0 : fs::file_size(name, ec);
    if (readOnce || commaSeparated(format, name, false, {})) {
        std::string text = wholeFile(file, progress, byteCount);
        const bool csv = commaSeparated(format, name, readOnce, text);
        hold(std::move(text), csv);
    }
    readHeader();
}

DataFile::DataFile(const std::string& name, std::istream& in, DataFormat format, Progress& progress)
    : fileName(name)
{
    std::string text = wholeFile(in, progress, 0);
    const bool csv = commaSeparated(format, name, true, text);
    hold(std::move(text), csv);
    readHeader();
}

// Keeps the text in memory, turned into tab-separated text first when it is
// comma-separated.
void DataFile::hold(std::string text, bool csv)
{
    if (csv) {
        CsvTable table = csvAsTabSeparated(text);
        if (!table.problem.empty())
            throw FileNotOpened(fileName, table.problem, fileName + ": " + table.problem);
        text = std::move(table.text);
    }
    byteCount = text.size();
    bytes = std::make_shared<const std::string>(std::move(text));
}

void DataFile::readHeader()
{
    std::string_view first;
    LineReader reader = lines();
    headerLine = reader.next(first);
    names = namesOf(headerLine ? first : std::string_view());
}

LineReader DataFile::lines() const
{
    if (bytes)
        return LineReader(*bytes);
    std::FILE* file = std::fopen(fileName.c_str(), "rb");
    if (!file)
        throw FileNotOpened(fileName, systemReason());
    return LineReader(file);
}

LineCount DataFile::countLines(Progress& progress) const
{
    const auto tabsNeeded = static_cast<std::ptrdiff_t>(names.size()) - 1;
    LineCount count;
    LineReader reader = lines();
    std::string_view line;
    progress.begin(Stage::Counting, static_cast<long long>(byteCount), static_cast<double>(byteCount));
    while (reader.next(line)) {
        ++count.lines;
        if (count.lines > 1 && !line.empty() && std::count(line.begin(), line.end(), '\t') < tabsNeeded)
            ++count.shortRecords;
        if (count.lines % linesBetweenReports == 0)
            progress.advance(static_cast<long long>(reader.position()));
    }
    progress.end();
    count.lines = std::max(count.lines, 1);
    return count;
}

std::string_view cellOf(std::string_view line, int k)
{
    for (int skipped = 0; skipped < k; ++skipped) {
        const auto tab = line.find('\t');
        if (tab == std::string_view::npos)
            return std::string_view();
        line.remove_prefix(tab + 1);
    }
    return line.substr(0, line.find('\t'));
}

} // namespace korvel
