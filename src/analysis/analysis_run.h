// One analysis of the loaded data, from the grouping to the last comparison:
// below both front ends, it writes the report as it goes, asks its questions
// through AnalysisChoices and returns what it found.
#pragma once

#include <ostream>
#include <string>

#include "analysis/analysis_choices.h"
#include "korvel/random_stream.h"
#include "data/loaded_data.h"
#include "korvel/settings.h"
#include "stats/analysis_results.h"
#include "stats/events.h"

namespace korvel {

// Where an analysis writes: the report, the console's tables and notes, and
// its messages (warnings and the computation's events).
struct AnalysisStreams {
    std::ostream& report;
    std::ostream& console;
    std::ostream& messages;
    AnalysisEvents& events;
    std::string reportName; // the report's file name, never the transformed-data file's
    std::ostream* savedScores = nullptr; // when set, the transformed data go here, not to the file chosen
};

// Groups, fits and tests the data, writes the report and asks choices where
// the analysis branches. FileNotOpened when the transformed-data file cannot
// be opened.
AnalysisResults runAnalysis(const AnalysisSettings& settings, const LoadedData& data, AnalysisChoices& choices,
                            AnalysisStreams& streams, RandomStream& random);

} // namespace korvel
