#include "cli/options_data.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "data/variable_names.h"

namespace korvel {

namespace {
// The index of a variable named by an option.
int variableOf(const DataFile& file, const std::string& option, const std::string& variable)
{
    const auto index = variableIndex(file.header(), variable);
    if (index)
        return *index;
    std::string names;
    for (const std::string& name : file.header())
        names += (names.empty() ? "" : ", ") + name;
    throw UsageError("option " + option + " " + variable + ": no such variable in " + file.name() +
                     " (its variables: " + names + ")");
}

// The filter variables as named by the options, in the order first named.
std::vector<std::string> filterVariables(const std::vector<FilterOption>& options)
{
    std::vector<std::string> names;
    for (const FilterOption& f : options)
        if (std::find(names.begin(), names.end(), f.variable) == names.end())
            names.push_back(f.variable);
    return names;
}

// The filter variable named so, with the classes of its --range options.
FilterChoice filterChoice(const DataFile& file, const std::string& variable, const std::vector<FilterOption>& options)
{
    FilterChoice choice;
    for (const FilterOption& f : options)
        if (f.variable == variable && f.range)
            choice.classes.push_back({f.min, f.max});
    choice.variable = variableOf(file, choice.classes.empty() ? "--remove" : "--range", variable);
    return choice;
}

// Leaves out the values that the --remove options of the variable name: a
// cell of the column, or a scalar filter's class (below, between, above).
void decideFilter(FilterColumn& filter, const FilterChoice& choice, const std::string& variable,
                  const std::vector<FilterOption>& options)
{
    std::map<std::string, std::string> classLabels;
    if (!choice.classes.empty()) {
        const ScalarClasses& c = choice.classes.back();
        classLabels = {{"below", "< " + c.min}, {"between", "> " + c.min + " & < " + c.max}, {"above", "> " + c.max}};
    }
    for (const FilterOption& f : options) {
        if (f.variable != variable || f.range)
            continue;
        if (!classLabels.empty() && !classLabels.count(f.value))
            throw UsageError("option --remove " + variable + "=" + f.value +
                             ": a scalar filter's classes are below, between and above");
        const std::string cell = classLabels.empty() ? f.value : classLabels[f.value];
        if (classLabels.empty() && !filter.keep.count(cell))
            throw UsageError("option --remove " + variable + "=" + f.value + ": no line has this value");
        if (filter.keep.count(cell))
            filter.keep[cell] = false;
    }
}
} // namespace

LoadedData loadData(const DataFile& file, int lineCount, const AnalysisRequest& r, Progress& progress)
{
    ColumnSelection chosen;
    chosen.y = variableOf(file, "-y", r.y);
    chosen.x = variableOf(file, "-x", r.x);
    if (chosen.x == chosen.y)
        throw UsageError("options -y " + r.y + " and -x " + r.x + ": Y and X are the same variable");
    for (const std::string& group : r.groups)
        chosen.grouping.push_back(variableOf(file, "--group", group));
    const std::vector<std::string> filters = filterVariables(r.filters);
    for (const std::string& variable : filters)
        chosen.filters.push_back(filterChoice(file, variable, r.filters));
    LoadedData data = loadColumns(file, chosen, lineCount, progress);
    for (std::size_t f = 0; f < filters.size(); ++f)
        decideFilter(data.filters[f], chosen.filters[f], filters[f], r.filters);
    return data;
}

} // namespace korvel
