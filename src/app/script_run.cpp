#include "app/script_run.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <map>

#include "app/plot_file.h"
#include "app/not_opened.h"
#include "app/scripted_choices.h"
#include "data/data_file.h"
#include "data/errors.h"
#include "data/same_file.h"
#include "data/variable_names.h"
#include "dialogue/analysis_run.h"
#include "report/console_messages.h"
#include "report/plain_nan.h"

namespace {
// The index of a variable named by an option.
int variableOf(const DataFile& file, const std::string& option, const std::string& variable)
{
    const auto index = variableIndex(file.header(), variable);
    if (!index)
        throw UsageError("option " + option + " " + variable + ": no such variable in " + file.name());
    return *index;
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

LoadedData loadData(const DataFile& file, int lineCount, const AnalysisRequest& r)
{
    ColumnSelection chosen;
    chosen.y = variableOf(file, "-y", r.y);
    chosen.x = variableOf(file, "-x", r.x);
    for (const std::string& group : r.groups)
        chosen.grouping.push_back(variableOf(file, "--group", group));
    const std::vector<std::string> filters = filterVariables(r.filters);
    for (const std::string& variable : filters)
        chosen.filters.push_back(filterChoice(file, variable, r.filters));
    LoadedData data = loadColumns(file, chosen, lineCount);
    for (std::size_t f = 0; f < filters.size(); ++f)
        decideFilter(data.filters[f], chosen.filters[f], filters[f], r.filters);
    return data;
}

// The report's file (standard output when none) and the saved data's must
// not replace the data file or each other.
void checkFileNames(const Invocation& inv)
{
    const AnalysisRequest& r = inv.analysis;
    for (const auto& [option, name] : {std::pair{"--output", r.outputFile}, {"--save", r.saveFile}, {"--plot-file", r.plotFile}})
        if (!name.empty() && sameFile(name, inv.dataFile))
            throw UsageError(std::string("option ") + option + " " + name + ": that is the data file");
    if (!r.saveFile.empty() && !r.outputFile.empty() && sameFile(r.saveFile, r.outputFile))
        throw UsageError("option --save " + r.saveFile + ": that is the report");
}

int analyse(const Invocation& inv, const LoadedData& data, std::ostream& report, const std::string& reportName)
{
    ScriptedChoices choices(inv.analysis);
    MessageWriter events(std::cerr, false);
    std::ostream noConsole(nullptr);
    AnalysisStreams streams{report, noConsole, std::cerr, events, reportName};
    const AnalysisOutcome outcome = runAnalysis(inv.analysis.settings, data, choices, streams);
    report << std::string(100, '-') << "\n" << std::endl;
    if (!report) {
        std::cerr << "File " << (reportName.empty() ? "standard output" : reportName) << " not written" << std::endl;
        return 1;
    }
    if (!inv.plot && inv.analysis.plotFile.empty())
        return 0;
    const std::string plotName = inv.analysis.plotFile.empty() ? plotFileName(reportName, 1) : inv.analysis.plotFile;
    writeAnalysisPlot(plotName, outcome, inv.analysis.settings, data, std::cerr);
    return 0;
}
} // namespace

int runFromOptions(const Invocation& inv)
{
    checkFileNames(inv);
    try {
        const DataFile file(inv.dataFile);
        const LineCount count = file.countLines();
        writeShortRecordsWarning(std::cerr, count.shortRecords, inv.dataFile, static_cast<int>(file.header().size()));
        const LoadedData data = loadData(file, count.lines, inv.analysis);

        const std::string& output = inv.analysis.outputFile;
        std::ofstream reportFile;
        writeNaNPlainly(output.empty() ? std::cout : reportFile);
        if (!output.empty()) {
            reportFile.open(output, std::ios::out | std::ios::trunc);
            if (!reportFile.is_open())
                throw FileNotOpened(output);
        }
        return analyse(inv, data, output.empty() ? std::cout : reportFile, output);
    } catch (const FileNotOpened& file) {
        return notOpened(file);
    }
}
