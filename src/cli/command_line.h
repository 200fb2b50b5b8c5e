// The command line: the dialogue (with or without a data file), one analysis
// run from options with no question asked, the help text or the version.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "data/data_file.h"
#include "data/errors.h"
#include "korvel/settings.h"
#include "stats/estimators.h"

namespace korvel {

// A scalar filter's limits, or a value to leave out, for one variable.
struct FilterOption {
    std::string variable;
    std::string value;          // --remove: the cell to leave out (below/between/above for a scalar filter)
    std::string min, max;       // --range: the limits as typed
    bool range = false;
};

// What to run, and on what, when Y and X are named.
struct AnalysisRequest {
    std::string y, x;
    DataFormat format = DataFormat::ByContent; // how the data file's cells are told apart
    std::vector<std::string> groups;    // grouping variables, joined in this order
    AnalysisSettings settings;
    ErrorVariances errors;              // with settings.measurementError
    std::vector<FilterOption> filters;  // in the order given
    bool slopePairs = false;            // pairwise slope comparisons when the slopes differ
    bool elevation = false, elevationPairs = false;
    bool shift = false, shiftPairs = false;
    std::string saveFile;               // the transformed data, when given
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
struct UsageError : Error {
    using Error::Error;
};

Invocation parseCommandLine(int argc, const char* const* argv);

// Usage, every option and an example.
const char* helpText();

} // namespace korvel
