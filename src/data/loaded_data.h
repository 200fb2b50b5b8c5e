// The data chosen for analysis, as text: the columns of the data file by
// role and the filter decisions.
#pragma once

#include <map>
#include <string>
#include <vector>

// One column of the data file: element 0 the variable name, element i the
// cell of data line i, as text. A column holding only "none" is a role not
// chosen.
using Column = std::vector<std::string>;

// Keep flag of each distinct cell of a filter column: 1 keep the line, 0 remove it.
using FilterMap = std::map<std::string, int>;

// Index of each role in LoadedData::columns; filters follow from 3 on.
enum ColumnRole { GroupColumn = 0, YColumn = 1, XColumn = 2, FirstFilterColumn = 3 };

struct LoadedData {
    // Grouping, Y, X, then one column per filter (always at least one list
    // there, "none" when no filter is chosen).
    std::vector<Column> columns = std::vector<Column>(4, Column{"none"});
    std::string filename;   // the data file the columns were read from
    int lineCount = 0;      // lines of the data file, header included; 0 = not counted
    std::vector<FilterMap> filterMaps; // one per filter column, in the same order
    bool filtersPending = true;        // filter questions due at the next load

    // True when the column of a role is chosen.
    bool chosen(int role) const { return columns[static_cast<std::size_t>(role)][0] != "none"; }
    // Takes a grouping column: the first replaces "none"; each later one is
    // joined to it by a blank, names and cells alike, so that the group name of
    // a line combines the values of all grouping variables.
    void addGrouping(const Column& column);
    // Without a grouping variable every line belongs to the one group "none".
    void fillMissingGrouping();
    // Forgets the columns, the line count and the filter decisions.
    void clear()
    {
        columns.assign(4, Column{"none"});
        lineCount = 0;
        filterMaps.clear();
        filtersPending = true;
    }
};
