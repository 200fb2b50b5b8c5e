// The data as the caller describes it: columns in memory, or the variables of
// a data file by name, and the filter decisions a loading makes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "korvel/settings.h"

namespace korvel {

// A column of numbers the caller owns and keeps alive while the data are
// built from it; NaN marks a missing value.
struct NumberColumnView {
    std::string name;
    const double* values = nullptr;
    std::size_t size = 0;
};

// A column of labels as codes into its levels (as a factor holds them),
// 0-based; a negative code marks a missing value.
struct LabelColumnView {
    std::string name;
    const std::int32_t* codes = nullptr;
    std::size_t size = 0;
    std::vector<std::string> levels;
};

// Y, X and the grouping columns (joined, in order, by a blank; none: one
// group "none"), all of one length; source names the data in the report and
// the results file.
struct ColumnsView {
    NumberColumnView y, x;
    std::vector<LabelColumnView> groups;
    std::string source = "data";
};

// How a data file's cells are told apart.
enum class DataFormat {
    ByName,    // comma-separated values when the name ends in .csv, else tab-separated
    ByContent, // as by name, but what can be read only once (standard input, a pipe) is
               // comma-separated when its first line holds a comma and no tab
    Tsv,       // tab-separated, whatever the name
    Csv,       // comma-separated, whatever the name
};

// The formats a data file can be said to be, whatever its name or content.
inline constexpr SettingNames<DataFormat> dataFormatNames[] = {
    {DataFormat::Tsv, "tsv", "", "", ""},
    {DataFormat::Csv, "csv", "", "", ""},
};

// A filter of the lines by one variable: leave out the lines whose cell is
// value; or, with range, sort its cells into the classes below min, between
// and above max, which are then left out by value "below", "between" or
// "above".
struct FilterRequest {
    std::string variable;
    std::string value;
    std::string min, max;
    bool range = false;
};

// The variables of a data file by name (or column number from 0): Y, X, the
// grouping variables and the filters, in the order given.
struct DataRequest {
    std::string y, x;
    std::vector<std::string> groups;
    std::vector<FilterRequest> filters;
    DataFormat format = DataFormat::ByContent;
};

// A filter variable and what happens to the lines of each of its values
// (true: kept), by value.
struct FilterDecisions {
    std::string variable;
    std::vector<std::pair<std::string, bool>> keep;
};

} // namespace korvel
