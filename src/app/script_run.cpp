#include "app/script_run.h"

#include <algorithm>
#include <iterator>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <map>
#include <sstream>

#include "app/plot_file.h"
#include "app/scripted_choices.h"
#include "data/data_file.h"
#include "data/errors.h"
#include "data/same_file.h"
#include "data/variable_names.h"
#include "analysis/analysis_run.h"
#include "report/analysis_end.h"
#include "report/console_messages.h"
#include "report/results_json.h"
#include "report/plain_nan.h"

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

LoadedData loadData(const DataFile& file, int lineCount, const AnalysisRequest& r)
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
    LoadedData data = loadColumns(file, chosen, lineCount);
    for (std::size_t f = 0; f < filters.size(); ++f)
        decideFilter(data.filters[f], chosen.filters[f], filters[f], r.filters);
    return data;
}

// The files a run reads or writes, in this order, as named (empty: none; "-":
// a standard stream, no file); each must be a file of its own.
struct NamedFile {
    const char* option;
    const char* what;
    std::string name;
};

std::string plotName(const Invocation& inv)
{
    if (!inv.analysis.plotFile.empty())
        return inv.analysis.plotFile;
    return inv.plot ? plotFileName(inv.analysis.outputFile, 1) : std::string();
}

void checkFileNames(const Invocation& inv)
{
    const AnalysisRequest& r = inv.analysis;
    const NamedFile files[] = {{"DATAFILE", "the data file", inv.dataFile},
                               {"--output", "the report", r.outputFile},
                               {"--save", "the saved scores", r.saveFile},
                               {inv.analysis.plotFile.empty() ? "--plot" : "--plot-file", "the plot", plotName(inv)},
                               {"--residual-plot", "the residual plot", r.residualPlotFile},
                               {"--json", "the results file", r.jsonFile}};
    const auto named = [](const NamedFile& f) { return !f.name.empty() && f.name != "-"; };
    for (std::size_t j = 1; j < std::size(files); ++j)
        for (std::size_t i = 0; i < j; ++i)
            if (named(files[i]) && named(files[j]) && sameFile(files[i].name, files[j].name))
                throw UsageError(std::string("option ") + files[j].option + " " + files[j].name + ": that is " +
                                 files[i].what);
}

// The data file, standard input for "-".
DataFile openDataFile(const std::string& name)
{
    return name == "-" ? DataFile(name, std::cin) : DataFile(name);
}

// The results as JSON, in the file named or on standard output.
void writeJson(const Invocation& inv, const LoadedData& data, const AnalysisResults& results)
{
    const std::string& name = inv.analysis.jsonFile;
    std::ofstream file;
    if (name != "-") {
        file.open(name, std::ios::out | std::ios::trunc);
        if (!file.is_open())
            throw FileNotOpened(name, systemReason());
    }
    std::ostream& out = name == "-" ? std::cout : file;
    writeResultsJson(out, inv.analysis.settings, data, results, inv.seed);
    if (!out.flush())
        throw FileNotOpened(name == "-" ? "standard output" : name, systemReason());
}

// "(NAME p = P, RELATION the critical p C)".
std::string pAgainst(const char* name, double p, const char* relation, double criticalP)
{
    std::ostringstream text;
    text << std::setprecision(4) << "(" << name << "p = " << p << ", " << relation << " the critical p " << criticalP
         << ")";
    return text.str();
}

// One line on standard error for each comparison asked for that did not
// apply, and why.
void sayWhatWasNotDone(const AnalysisRequest& r, const AnalysisResults& results)
{
    const auto notDone = [](const char* option, const std::string& why) {
        std::cerr << "korvel: " << option << " not done: " << why << std::endl;
    };
    const char* elevation = r.elevationPairs ? "--elevation-pairs" : "--elevation";
    const char* shift = r.shiftPairs ? "--shift-pairs" : "--shift";
    const double critical = r.settings.criticalP;
    const auto& test = results.commonSlopeTest;
    if (!test) {
        for (const auto& [asked, option] :
             {std::pair{r.slopePairs, "--slope-pairs"}, std::pair{r.elevation, elevation}, std::pair{r.shift, shift}})
            if (asked && results.groups.size() == 1)
                notDone(option, "a single group has no common slope to compare with");
        return;
    }
    if (test->common && r.slopePairs)
        notDone("--slope-pairs", "the slopes do not differ " + pAgainst("common-slope ", test->p, "above", critical));
    for (const auto& [asked, option] : {std::pair{r.elevation, elevation}, std::pair{r.shift, shift}})
        if (!test->common && asked)
            notDone(option, "the slopes differ " + pAgainst("common-slope ", test->p, "not above", critical));
    for (const ShiftTest& t : results.shiftTests) {
        const bool elevationTest = t.axis == ScoreAxis::Residual;
        if (!t.pairs && (elevationTest ? r.elevationPairs : r.shiftPairs) && !(t.wald.p < critical))
            notDone(elevationTest ? "--elevation-pairs" : "--shift-pairs",
                    std::string(elevationTest ? "no shift in elevation " : "no shift along the common slope ") +
                        pAgainst("", t.wald.p, "not below", critical));
    }
}

int analyse(const Invocation& inv, const LoadedData& data, std::ostream& report, const std::string& reportName)
{
    ScriptedChoices choices(inv.analysis);
    MessageWriter events(std::cerr, false);
    std::ostream noConsole(nullptr);
    AnalysisStreams streams{report, noConsole, std::cerr, events, reportName};
    const AnalysisResults results = runAnalysis(inv.analysis.settings, data, choices, streams);
    writeAnalysisEnd(report);
    if (!report) {
        std::cerr << "korvel: " << (reportName.empty() ? "standard output" : reportName) << ": " << systemReason()
                  << std::endl;
        return 1;
    }
    const std::string plot = plotName(inv);
    if (!plot.empty())
        writeAnalysisPlot(plot, results, inv.analysis.settings, data, std::cerr);
    if (!inv.analysis.residualPlotFile.empty())
        writeAnalysisResidualPlot(inv.analysis.residualPlotFile, results, inv.analysis.settings, data, std::cerr);
    if (!inv.analysis.jsonFile.empty())
        writeJson(inv, data, results);
    if (results.groups.empty()) {
        std::cerr << "korvel: no group left to analyse" << std::endl;
        return 1;
    }
    sayWhatWasNotDone(inv.analysis, results);
    return 0;
}
} // namespace

int runFromOptions(const Invocation& inv)
{
    checkFileNames(inv);
    try {
        const DataFile file = openDataFile(inv.dataFile);
        const LineCount count = file.countLines();
        writeShortRecordsWarning(std::cerr, count.shortRecords, inv.dataFile, static_cast<int>(file.header().size()));
        const LoadedData data = loadData(file, count.lines, inv.analysis);

        const std::string& output = inv.analysis.outputFile;
        std::ofstream reportFile;
        writeNaNPlainly(output.empty() ? std::cout : reportFile);
        if (!output.empty()) {
            reportFile.open(output, std::ios::out | std::ios::trunc);
            if (!reportFile.is_open())
                throw FileNotOpened(output, systemReason());
        }
        return analyse(inv, data, output.empty() ? std::cout : reportFile, output);
    } catch (const FileNotOpened& file) {
        std::cerr << "korvel: " << (file.problem.empty() ? file.name + ": " + file.reason : file.problem) << std::endl;
        return 1;
    }
}

} // namespace korvel
