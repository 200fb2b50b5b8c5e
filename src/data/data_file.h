// The data file: tab-separated text, first line the variable names, one record
// per line. A file whose name ends in .csv (or known as such by its format)
// holds comma-separated values and is read as the same table in tab-separated
// text (csv_file.h).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/line_reader.h"
#include "korvel/columns.h"
#include "korvel/progress.h"

namespace korvel {

struct LineCount {
    int lines = 0;        // lines of the file, header included
    int shortRecords = 0; // non-empty records with fewer cells than the header
};

class DataFile {
public:
    // Opens the named file, its cells told apart by the format. A regular
    // file is read again from disk at each pass; anything that can be read
    // only once (a pipe, a FIFO, a terminal) and a comma-separated file are
    // read whole once and held in memory. FileNotOpened (errors.h) when it
    // cannot be opened (a folder cannot), or when comma-separated values cannot
    // be read: then its problem names the file and the line. The reading into
    // memory is told to the progress (stage Reading).
    explicit DataFile(const std::string& name, DataFormat format = DataFormat::ByName,
                      Progress& progress = noProgress());
    // The bytes of a stream that can be read only once (standard input), held
    // in memory under the name given.
    DataFile(const std::string& name, std::istream& bytes, DataFormat format = DataFormat::ByName,
             Progress& progress = noProgress());

    const std::string& name() const { return fileName; }
    // The variable names of the first line, between tabs: k tabs give k + 1
    // names; an empty file gives one empty name.
    const std::vector<std::string>& header() const { return names; }
    // True when the file holds no line at all, not even a header.
    bool empty() const { return !headerLine; }
    // Its bytes, as read at each pass.
    std::uint64_t size() const { return byteCount; }
    // Every line of the file, the header first.
    LineReader lines() const;
    // Counts the header and every line after it (an empty one and a last one
    // without a line feed included), and the records with fewer cells than
    // the header; the bytes passed are told to the progress (stage Counting).
    LineCount countLines(Progress& progress = noProgress()) const;

private:
    std::string fileName;
    std::shared_ptr<const std::string> bytes; // the file's text when held in memory
    std::vector<std::string> names;
    bool headerLine = false;
    std::uint64_t byteCount = 0;
    void hold(std::string text, bool csv);
    void readHeader();
};

// The passes over the data file tell their progress every so many lines.
inline constexpr int linesBetweenReports = 1 << 16;

// Cell k of one line (cells separated by tabs); empty when the line has fewer
// cells.
std::string_view cellOf(std::string_view line, int k);

} // namespace korvel
