// Data files of comma-separated values. They are read by turning them into
// the tab-separated text that the data file reader (data_file.h) reads, so
// that everything after reading behaves as for the same table saved with tabs.
#pragma once

#include <string>

namespace korvel {

// True when the name ends in ".csv", in any case.
bool isCsvName(const std::string& name);

// The table of comma-separated bytes as tab-separated text, or the reason it
// cannot be read.
struct CsvTable {
    std::string text;    // tab-separated, every record ended by a line feed
    std::string problem; // empty when read; else e.g. "line 4: quote not closed"
};

// Reads the bytes as comma-separated values: a UTF-8 byte-order mark at the
// start is dropped; a field in double quotes may hold commas, doubled quotes
// (one quote each), tabs and line ends; blanks around an unquoted field belong
// to it. A record ends at a line feed, a carriage return or both. A tab, line
// feed or carriage return inside a cell becomes a blank, so that no cell can
// split. A blank line holds no record and is left out. A quote left open at
// the end, text after a closing quote or a quote inside an unquoted field make
// the bytes unreadable: the problem names the line (counted from 1) where the
// open quote was, or where the misplaced character is.
CsvTable csvAsTabSeparated(const std::string& bytes);

} // namespace korvel
