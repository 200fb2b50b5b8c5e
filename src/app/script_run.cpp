#include "app/script_run.h"

#include <algorithm>
#include <fstream>
#include <iostream>
#include <memory>

#include "app/plot_file.h"
#include "app/not_opened.h"
#include "app/scripted_choices.h"
#include "data/data_file.h"
#include "data/same_file.h"
#include "data/scalar_filter.h"
#include "data/variable_names.h"
#include "dialogue/analysis_run.h"
#include "dialogue/run_ending.h"
#include "report/console_messages.h"
#include "report/plain_nan.h"

namespace {
// The open data file with its variable names.
struct DataSource {
    std::istream& file;
    std::vector<std::string> header;
    int lineCount;

    Column column(const std::string& option, const std::string& variable, const std::string& fileName)
    {
        const auto index = variableIndex(header, variable);
        if (!index)
            throw UsageError("option " + option + " " + variable + ": no such variable in " + fileName);
        return extractColumn(file, *index, lineCount);
    }
};

// A filter variable's column (relabelled when it is a scalar filter) and its
// keep flags: every value kept unless the options leave it out.
void addFilter(LoadedData& data, DataSource& source, const std::vector<FilterOption>& options,
               const std::string& variable)
{
    const bool scalar = std::any_of(options.begin(), options.end(),
                                    [&](const FilterOption& f) { return f.variable == variable && f.range; });
    Column column = source.column(scalar ? "--range" : "--remove", variable, data.filename);
    std::map<std::string, std::string> classLabels;
    for (const FilterOption& f : options)
        if (f.variable == variable && f.range) {
            relabelScalar(column, f.min, f.max);
            classLabels = {{"below", "< " + f.min}, {"between", "> " + f.min + " & < " + f.max}, {"above", "> " + f.max}};
        }
    FilterMap keep;
    for (std::size_t i = 1; i < column.size(); ++i)
        keep.emplace(column[i], 1);
    for (const FilterOption& f : options) {
        if (f.variable != variable || f.range)
            continue;
        if (!classLabels.empty() && !classLabels.count(f.value))
            throw UsageError("option --remove " + variable + "=" + f.value +
                             ": a scalar filter's classes are below, between and above");
        const std::string cell = classLabels.empty() ? f.value : classLabels[f.value];
        if (classLabels.empty() && !keep.count(cell))
            throw UsageError("option --remove " + variable + "=" + f.value + ": no line has this value");
        if (keep.count(cell))
            keep[cell] = 0;
    }
    data.columns.insert(data.columns.end() - 1, std::move(column));
    data.filterMaps.push_back(std::move(keep));
}

LoadedData loadData(DataSource& source, const Invocation& inv)
{
    const AnalysisRequest& r = inv.analysis;
    LoadedData data;
    data.filename = inv.dataFile;
    data.lineCount = source.lineCount;
    data.columns[YColumn] = source.column("-y", r.y, inv.dataFile);
    data.columns[XColumn] = source.column("-x", r.x, inv.dataFile);
    for (const std::string& group : r.groups)
        data.addGrouping(source.column("--group", group, inv.dataFile));
    data.fillMissingGrouping();
    std::vector<std::string> variables;
    for (const FilterOption& f : r.filters)
        if (std::find(variables.begin(), variables.end(), f.variable) == variables.end())
            variables.push_back(f.variable);
    for (const std::string& variable : variables)
        addFilter(data, source, r.filters, variable);
    if (!variables.empty())
        data.columns.pop_back(); // the "none" list that stood for no filter
    data.filtersPending = false;
    return data;
}

// The report's file (standard output when none) and the saved data's must
// not replace the data file or each other.
void checkFileNames(const Invocation& inv)
{
    const AnalysisRequest& r = inv.analysis;
    for (const auto& [option, name] : {std::pair{"--output", r.outputFile}, {"--save", r.saveFile}, {"--plot-file", r.plotFile},
                                       {"--residual-plot", r.residualPlotFile}})
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
    const AnalysisRequest& r = inv.analysis;
    if (inv.plot || !r.plotFile.empty())
        writeAnalysisPlot(r.plotFile.empty() ? plotFileName(reportName, 1) : r.plotFile, outcome, r.settings, data, std::cerr);
    if (!r.residualPlotFile.empty())
        writeAnalysisResidualPlot(r.residualPlotFile, outcome, r.settings, data, std::cerr);
    return 0;
}
} // namespace

int runFromOptions(const Invocation& inv)
{
    checkFileNames(inv);
    try {
        const OpenedData opened = openData(inv.dataFile);
        if (!opened.stream)
            throw FileNotOpened{inv.dataFile, opened.problem};
        std::istream& file = *opened.stream;
        DataSource source{file, readHeader(file), 0};
        const LineCount count = countLines(file, static_cast<int>(source.header.size()));
        source.lineCount = count.lines;
        writeShortRecordsWarning(std::cerr, count.shortRecords, inv.dataFile, static_cast<int>(source.header.size()));
        const LoadedData data = loadData(source, inv);

        const std::string& output = inv.analysis.outputFile;
        std::ofstream reportFile;
        writeNaNPlainly(output.empty() ? std::cout : reportFile);
        if (!output.empty()) {
            reportFile.open(output, std::ios::out | std::ios::trunc);
            if (!reportFile.is_open())
                throw FileNotOpened{output};
        }
        return analyse(inv, data, output.empty() ? std::cout : reportFile, output);
    } catch (const FileNotOpened& file) {
        return notOpened(file);
    }
}
