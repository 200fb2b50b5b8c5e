// The command line: the dialogue (with or without a data file), one analysis
// run from options with no question asked, the help text or the version.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "korvel/analysis.h"
#include "korvel/columns.h"
#include "korvel/errors.h"

namespace korvel {

// What to run, and on what, when Y and X are named: the data's variables and
// the run's request, and the files it writes.
struct AnalysisRequest : Request {
    DataRequest data;
    std::string outputFile;             // the report; empty: standard output
    std::string plotFile;               // the plot under this name, when given (.svg, .pdf or .png)
    std::string residualPlotFile;       // the residual plot under this name, when given
    std::string jsonFile;               // the results as JSON, when given; "-": standard output
    bool quiet = false;                 // no progress shown on a terminal
};

struct Invocation {
    enum Mode { Dialogue, Analysis, Help, Version } mode = Dialogue;
    std::string dataFile;               // the data file, when given
    std::optional<std::uint32_t> seed;  // seeds the resampling once at start, 1 to 2^32 - 1
    bool plot = false;                  // a plot of every analysis
    bool vector = false;                // every marker of a figure a vector shape, however many points
    AnalysisRequest analysis;
};

// A command line that cannot be run: the message names the option or value.
using UsageError = RequestError;

Invocation parseCommandLine(int argc, const char* const* argv);

// Usage, every option and an example.
const char* helpText();

} // namespace korvel
