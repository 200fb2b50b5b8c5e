#include "cli/script_run.h"

#include <fstream>
#include <iostream>
#include <iterator>

#include <unistd.h>

#include "analysis/analysis_run.h"
#include "analysis/request_choices.h"
#include "cli/comparisons_not_done.h"
#include "cli/progress_line.h"
#include "cli/whole_lines.h"
#include "data/errors.h"
#include "data/output_file.h"
#include "data/same_file.h"
#include "korvel/engine.h"
#include "plot/analysis_plot.h"
#include "plot/plot_file.h"
#include "report/analysis_end.h"
#include "report/console_messages.h"
#include "report/plain_nan.h"

namespace korvel {

namespace {
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

// The events of a run from options: messages on standard error, each after
// the progress line is erased, and the progress on it.
class ScriptEvents : public MessageWriter {
public:
    explicit ScriptEvents(ProgressLine* line) : MessageWriter(std::cerr, MessageStyle::Options), line(line) {}
    void commonSlopeDidNotSettle(const std::vector<std::string>& groups, double last, double next) override
    {
        clearLine();
        MessageWriter::commonSlopeDidNotSettle(groups, last, next);
    }
    void slopesDidNotConverge(double last, double next) override
    {
        clearLine();
        MessageWriter::slopesDidNotConverge(last, next);
    }
    void pairSlopeDidNotConverge(const std::string& first, const std::string& second) override
    {
        clearLine();
        MessageWriter::pairSlopeDidNotConverge(first, second);
    }
    Progress& progress() override { return line ? *line : noProgress(); }

private:
    ProgressLine* line; // none when no progress is shown
    void clearLine()
    {
        if (line)
            line->clear();
    }
};

// The results as JSON, in the file named or on standard output.
void writeJson(const Invocation& inv, const Analysis& analysis, const std::vector<NotDone>& notDone)
{
    const std::string& name = inv.analysis.jsonFile;
    std::ofstream file;
    if (name != "-")
        openForWriting(file, name);
    std::ostream& out = name == "-" ? std::cout : file;
    writeResultsJson(out, analysis, inv.seed, notDone);
    if (!out.flush())
        throw FileNotOpened(name == "-" ? "standard output" : name, systemReason());
}

int analyse(const Invocation& inv, const Data& data, std::ostream& report, const std::string& reportName,
            ProgressLine* line)
{
    RequestChoices choices(inv.analysis);
    ScriptEvents events(line);
    std::ostream noConsole(nullptr);
    AnalysisStreams streams{report, noConsole, std::cerr, events, reportName,
                            inv.analysis.saveFile == "-" ? &std::cout : nullptr};
    RandomStream random(inv.seed.value_or(1));
    const Analysis analysis = runAnalysis(inv.analysis.settings, data, choices, streams, random);
    writeAnalysisEnd(report);
    if (!report) {
        std::cerr << "korvel: " << (reportName.empty() ? "standard output" : reportName) << ": " << systemReason()
                  << std::endl;
        return 1;
    }
    const std::string plot = plotName(inv);
    if (!plot.empty())
        writeAnalysisPlot(plot, analysis, inv.vector, std::cerr);
    if (!inv.analysis.residualPlotFile.empty())
        writeAnalysisResidualPlot(inv.analysis.residualPlotFile, analysis,
                                  axisScores(analysis.fit, plottedCommonSlope(analysis)), inv.vector, std::cerr);
    const std::vector<NotDone> notDone = whatWasNotDone(inv.analysis, analysis);
    if (!inv.analysis.jsonFile.empty())
        writeJson(inv, analysis, notDone);
    if (analysis.fit.lines.empty()) {
        std::cerr << "korvel: no group left to analyse" << std::endl;
        return 1;
    }
    sayWhatWasNotDone(notDone);
    return 0;
}
} // namespace

int runFromOptions(const Invocation& inv)
{
    writeNaNPlainly(std::cerr);
    checkFileNames(inv);
    // Progress on standard error, only when it is a terminal and not silenced.
    ProgressLine progressLine(std::cerr);
    ProgressLine* line = isatty(STDERR_FILENO) && !inv.analysis.quiet ? &progressLine : nullptr;
    Progress& progress = line ? *line : noProgress();
    try {
        const Data data = dataFromFile(inv.dataFile, inv.analysis.data, progress);
        writeShortRecordsWarning(std::cerr, data.shortRecords, inv.dataFile, data.headerCells);

        const std::string& output = inv.analysis.outputFile;
        std::ofstream reportFile;
        if (!output.empty())
            openForWriting(reportFile, output);
        WholeLines lines(output.empty() ? std::cout.rdbuf() : reportFile.rdbuf());
        std::ostream report(&lines);
        writeNaNPlainly(report);
        writeNaNPlainly(std::cout); // the saved scores
        return analyse(inv, data, report, output, line);
    } catch (const FileNotOpened& file) {
        std::cerr << "korvel: " << (file.problem.empty() ? file.name + ": " + file.reason : file.problem) << std::endl;
        return 1;
    }
}

} // namespace korvel
