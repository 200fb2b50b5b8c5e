// One analysis of the loaded data, from the grouping to the last comparison.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "data/loaded_data.h"
#include "data/settings.h"
#include "dialogue/analysis_choices.h"
#include "stats/events.h"
#include "stats/group.h"

// Where an analysis writes: the report, the console's tables and notes, and
// its messages (warnings and the computation's events).
struct AnalysisStreams {
    std::ostream& report;
    std::ostream& console;
    std::ostream& messages;
    AnalysisEvents& events;
    std::string reportName; // the report's file name, never the transformed-data file's
};

// What an analysis leaves for its plot: the fitted groups and, when the lines
// with a common slope were compared, that slope.
struct AnalysisOutcome {
    GroupMap groups;
    std::optional<double> commonSlope;
};

// Groups, fits and tests the data, writes the report and asks choices where
// the analysis branches. FileNotOpened when the transformed-data file cannot
// be opened.
AnalysisOutcome runAnalysis(const AnalysisSettings& settings, const LoadedData& data, AnalysisChoices& choices,
                            AnalysisStreams& streams);
