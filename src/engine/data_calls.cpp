// The data calls: data from columns in memory, or from a data file's
// variables chosen by name (as the command line chooses them).
#include <algorithm>
#include <cmath>
#include <iostream>
#include <map>
#include <sstream>
#include <unordered_map>

#include "data/data_file.h"
#include "data/loaded_data.h"
#include "data/variable_names.h"
#include "engine/numerical_errors.h"
#include "korvel/data.h"
#include "korvel/errors.h"

namespace korvel {

const std::string& Data::source() const
{
    return columns->filename;
}

const std::string& Data::yName() const
{
    return columns->y.name;
}

const std::string& Data::xName() const
{
    return columns->x.name;
}

const std::string& Data::groupingName() const
{
    return columns->grouping.name;
}

bool Data::grouped() const
{
    return columns->grouped;
}

std::size_t Data::dataLines() const
{
    return columns->dataLines();
}

std::vector<FilterDecisions> Data::filters() const
{
    std::vector<FilterDecisions> decisions;
    for (const FilterColumn& filter : columns->filters)
        decisions.push_back({filter.column.name, {filter.keep.begin(), filter.keep.end()}});
    return decisions;
}

namespace {
// A column of numbers as read from a file: missing (NaN) as a blank cell, a
// value that is not finite as a cell that is not a number.
NumberColumn numberColumn(const NumberColumnView& view)
{
    NumberColumn column;
    column.name = view.name;
    column.values.resize(view.size);
    column.kinds.resize(view.size);
    for (std::size_t i = 0; i < view.size; ++i) {
        const double v = view.values[i];
        column.kinds[i] = std::isnan(v) ? CellKind::Blank : std::isfinite(v) ? CellKind::Number : CellKind::NotANumber;
        column.values[i] = column.kinds[i] == CellKind::Number ? v : 0.0;
    }
    return column;
}

// The label of line i: the levels of every grouping column joined by a blank;
// blank when any of them is missing.
std::string joinedLabel(const std::vector<LabelColumnView>& groups, std::size_t i)
{
    std::string label;
    for (const LabelColumnView& column : groups) {
        const std::int32_t code = column.codes[i];
        if (code < 0 || static_cast<std::size_t>(code) >= column.levels.size())
            return std::string();
        label += (&column == &groups.front() ? "" : " ") + column.levels[static_cast<std::size_t>(code)];
    }
    return label;
}

LabelColumn groupingColumn(const std::vector<LabelColumnView>& groups, std::size_t n)
{
    LabelColumn column;
    if (groups.empty()) {
        column.name = "none";
        column.labels = {"none"};
        column.ids.assign(n, 0);
        return column;
    }
    for (const LabelColumnView& g : groups)
        column.name += (column.name.empty() ? "" : " ") + g.name;
    std::unordered_map<std::string, std::uint32_t> idOf;
    column.ids.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        std::string label = joinedLabel(groups, i);
        const auto [at, added] = idOf.emplace(std::move(label), static_cast<std::uint32_t>(column.labels.size()));
        if (added)
            column.labels.push_back(at->first);
        column.ids[i] = at->second;
    }
    return column;
}

// The index of a variable named in the request.
int variableOf(const DataFile& file, const std::string& option, const std::string& variable)
{
    const auto index = variableIndex(file.header(), variable);
    if (index)
        return *index;
    std::string names;
    for (const std::string& name : file.header())
        names += (names.empty() ? "" : ", ") + name;
    throw RequestError("option " + option + " " + variable + ": no such variable in " + file.name() +
                       " (its variables: " + names + ")");
}

// The filter variables as named by the request, in the order first named.
std::vector<std::string> filterVariables(const std::vector<FilterRequest>& filters)
{
    std::vector<std::string> names;
    for (const FilterRequest& f : filters)
        if (std::find(names.begin(), names.end(), f.variable) == names.end())
            names.push_back(f.variable);
    return names;
}

// The filter variable named so, with the classes of its ranges.
FilterChoice filterChoice(const DataFile& file, const std::string& variable, const std::vector<FilterRequest>& filters)
{
    FilterChoice choice;
    for (const FilterRequest& f : filters)
        if (f.variable == variable && f.range)
            choice.classes.push_back({f.min, f.max});
    choice.variable = variableOf(file, choice.classes.empty() ? "--remove" : "--range", variable);
    return choice;
}

// Leaves out the values that the request removes for the variable: a cell of
// the column, or a scalar filter's class (below, between, above).
void decideFilter(FilterColumn& filter, const FilterChoice& choice, const std::string& variable,
                  const std::vector<FilterRequest>& filters)
{
    std::map<std::string, std::string> classLabels;
    if (!choice.classes.empty()) {
        const ScalarClasses& c = choice.classes.back();
        classLabels = {{"below", "< " + c.min}, {"between", "> " + c.min + " & < " + c.max}, {"above", "> " + c.max}};
    }
    for (const FilterRequest& f : filters) {
        if (f.variable != variable || f.range)
            continue;
        if (!classLabels.empty() && !classLabels.count(f.value))
            throw RequestError("option --remove " + variable + "=" + f.value +
                               ": a scalar filter's classes are below, between and above");
        const std::string cell = classLabels.empty() ? f.value : classLabels[f.value];
        if (classLabels.empty() && !filter.keep.count(cell))
            throw RequestError("option --remove " + variable + "=" + f.value + ": no line has this value");
        if (filter.keep.count(cell))
            filter.keep[cell] = false;
    }
}

// The requested variables of an open data file, read in one pass.
Data requestedData(const DataFile& file, const DataRequest& r, Progress& progress)
{
    if (file.empty())
        throw FileNotOpened(file.name(), "empty file (no header line)");
    const LineCount count = file.countLines(progress);
    ColumnSelection chosen;
    chosen.y = variableOf(file, "-y", r.y);
    chosen.x = variableOf(file, "-x", r.x);
    if (chosen.x == chosen.y)
        throw RequestError("options -y " + r.y + " and -x " + r.x + ": Y and X are the same variable");
    for (const std::string& group : r.groups)
        chosen.grouping.push_back(variableOf(file, "--group", group));
    const std::vector<std::string> filters = filterVariables(r.filters);
    for (const std::string& variable : filters)
        chosen.filters.push_back(filterChoice(file, variable, r.filters));
    LoadedData data = loadColumns(file, chosen, count.lines, progress);
    for (std::size_t f = 0; f < filters.size(); ++f)
        decideFilter(data.filters[f], chosen.filters[f], filters[f], r.filters);
    Data result;
    result.columns = std::make_shared<const LoadedData>(std::move(data));
    result.shortRecords = count.shortRecords;
    result.headerCells = static_cast<int>(file.header().size());
    return result;
}
} // namespace

Data dataFromColumns(const ColumnsView& view)
{
    quietNumericalErrors();
    const std::size_t n = view.y.size;
    bool sameLength = view.x.size == n;
    for (const LabelColumnView& g : view.groups)
        sameLength = sameLength && g.size == n;
    if (!sameLength)
        throw RequestError("the columns of Y, X and the groups are not of one length");
    auto data = std::make_shared<LoadedData>();
    data->filename = view.source;
    data->lineCount = static_cast<int>(n) + 1;
    data->grouped = !view.groups.empty();
    data->grouping = groupingColumn(view.groups, n);
    data->y = numberColumn(view.y);
    data->x = numberColumn(view.x);
    Data result;
    result.columns = std::move(data);
    return result;
}

Data dataFromFile(const std::string& path, const DataRequest& request, Progress& progress)
{
    quietNumericalErrors();
    if (path == "-")
        return requestedData(DataFile(path, std::cin, request.format, progress), request, progress);
    return requestedData(DataFile(path, request.format, progress), request, progress);
}

Data dataFromText(const std::string& name, std::string text, const DataRequest& request, Progress& progress)
{
    quietNumericalErrors();
    std::istringstream bytes(std::move(text));
    return requestedData(DataFile(name, bytes, request.format, progress), request, progress);
}

} // namespace korvel
