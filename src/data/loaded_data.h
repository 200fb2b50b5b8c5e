// The data chosen for an analysis: which variables of the data file play which
// role, and their columns as read in one pass over the file.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/data_file.h"

namespace korvel {

// The classes below, between and above two limits, as typed, that take the
// place of a scalar filter's cells (scalar_filter.h).
struct ScalarClasses {
    std::string min, max;
};

// A filter variable and the classes its cells were sorted into, in order.
struct FilterChoice {
    int variable = 0;
    std::vector<ScalarClasses> classes;
};

// The variables chosen, by their index in the data file's header.
struct ColumnSelection {
    std::vector<int> grouping; // joined in this order; none: every line in the one group "none"
    std::optional<int> y, x;
    std::vector<FilterChoice> filters;
};

// A column of text cells (a grouping or a filter), each distinct cell held once.
struct LabelColumn {
    std::string name;                // the variable's name
    std::vector<std::string> labels; // the distinct cells, in order of first appearance
    std::vector<std::uint32_t> ids;  // the label of each data line, the first data line first

    const std::string& cell(std::size_t dataLine) const { return labels[ids[dataLine]]; }
};

// True when a cell holds nothing: it is empty or one blank. A line whose
// grouping, Y or X cell is blank is left out.
bool isBlankCell(std::string_view cell);

// What a Y or X cell holds: a decimal number, nothing (a blank cell), or
// something else.
enum class CellKind : std::uint8_t { Number, Blank, NotANumber };

struct NumberColumn {
    std::string name;
    std::vector<double> values; // of each data line; 0 unless its kind is Number
    std::vector<CellKind> kinds;
};

// A filter column and the decisions on its cells: false removes a line.
struct FilterColumn {
    LabelColumn column;
    std::map<std::string, bool> keep;
};

struct LoadedData {
    std::string filename; // the data file the columns were read from
    int lineCount = 0;    // lines of the data file, header included
    bool grouped = false; // a grouping variable was chosen
    LabelColumn grouping; // several variables: names and cells joined by a blank; none: "none"
    NumberColumn y, x;
    std::vector<FilterColumn> filters; // in the order chosen, every cell kept until decided

    std::size_t dataLines() const { return y.kinds.size(); }
};

// The name of the grouping: the variables' names joined by a blank, "none"
// without any.
std::string groupingName(const std::vector<std::string>& header, const std::vector<int>& grouping);

// Reads the chosen columns of lines 1 .. lineCount - 1 in one pass (missing
// lines and cells are empty), sorts the filters' cells into their classes and
// keeps every line. Y and X must be chosen. The bytes passed are told to the
// progress (stage Loading).
LoadedData loadColumns(const DataFile& file, const ColumnSelection& selection, int lineCount,
                       Progress& progress = noProgress());

} // namespace korvel
