// The data file: tab-separated text, first line the variable names, one record
// per line. Cells are kept as text; the analyses convert them. A file whose
// name ends in .csv holds comma-separated values and is read as the same
// table in tab-separated text (csv_file.h).
#pragma once

#include <istream>
#include <memory>
#include <string>
#include <vector>

struct OpenedData {
    std::unique_ptr<std::istream> stream; // null when the file cannot be read
    std::string problem; // why a comma-separated file cannot be read, naming the file and line; else empty
};

// Opens the data file for reading; no stream when it cannot be opened (a
// folder counts as a file that cannot be opened) or, for a .csv name, when its
// values cannot be read: then the problem is e.g. "data.csv: line 4: quote
// not closed".
OpenedData openData(const std::string& name);

// Reads one line: the characters up to the next line feed (consumed, not
// returned) or the end of the file, less a carriage return that ends it (so
// CR LF, LF and mixed line ends read alike). False at the end of the file.
bool readLine(std::istream& file, std::string& line);

// Reads the header row from the current position: the names between tabs, up
// to the line feed or the end of the file. k tabs give k + 1 names; an empty
// file gives one empty name.
std::vector<std::string> readHeader(std::istream& file);

struct LineCount {
    int lines = 0;        // lines of the file, header included
    int shortRecords = 0; // non-empty records with fewer cells than the header
};

// Counts the lines after the header (read already), starting at 1 for the
// header: every line read counts, an empty one and a last one without a line
// feed included. Also counts the records that hold fewer than nCells cells.
LineCount countLines(std::istream& file, int nCells);

// Cell k of one line (cells separated by tabs); "" when the line has fewer
// cells.
std::string cellOf(const std::string& line, int k);

// The column of variable index k: element 0 the header cell, element r the
// cell of line r, for r < nLines. The file is read from its first byte, line
// by line, so a record with too few cells gives empty texts for its missing
// cells and never shifts the records after it; missing lines give empty texts.
std::vector<std::string> extractColumn(std::istream& file, int k, int nLines);
