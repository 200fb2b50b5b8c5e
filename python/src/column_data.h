// The data of an analysis from the columns Python holds (numpy arrays, no
// copy until the engine's) or from a data file's variables by name.
#pragma once

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include <pybind11/numpy.h>

#include "korvel/data.h"

namespace korvel::python {

// The data, with the warnings their reading gave.
struct DataHandle {
    Data data;
    std::vector<std::string> notes;
};

using Numbers = pybind11::array_t<double, pybind11::array::c_style | pybind11::array::forcecast>;
using Codes = pybind11::array_t<std::int32_t, pybind11::array::c_style | pybind11::array::forcecast>;

// A grouping column: its name, its codes into its levels (0-based; negative:
// missing) and its levels.
using GroupColumn = std::tuple<std::string, Codes, std::vector<std::string>>;

// The data of Y, X (NaN: missing) and the grouping columns, named as the
// results name them.
DataHandle columnsData(const std::string& yName, const Numbers& y, const std::string& xName, const Numbers& x,
                       const std::vector<GroupColumn>& groups, const std::string& source);

// The variables of the data file at path, with its filters in order, each
// [variable, value] (leave out the lines whose variable is value) or
// [variable, min, max] (a scalar filter's classes); format "tsv", "csv" or
// "" (by its name or content).
DataHandle fileData(const std::string& path, const std::string& y, const std::string& x,
                    const std::vector<std::string>& groups, const std::vector<std::vector<std::string>>& filters,
                    const std::string& format);

} // namespace korvel::python
