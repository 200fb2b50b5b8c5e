// One analysis of the loaded data, from the grouping to the last comparison:
// below both front ends, it calls the engine step by step, writes the report
// from what each call returns, asks its questions through AnalysisChoices and
// returns what it found.
#pragma once

#include <ostream>
#include <string>

#include "analysis/analysis_choices.h"
#include "korvel/analysis.h"
#include "korvel/data.h"
#include "korvel/events.h"
#include "korvel/random_stream.h"
#include "korvel/settings.h"

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
// the analysis branches; the resampling draws from random, which runs on.
// FileNotOpened when the transformed-data file cannot be opened.
Analysis runAnalysis(const AnalysisSettings& settings, const Data& data, AnalysisChoices& choices,
                     AnalysisStreams& streams, RandomStream& random);

} // namespace korvel
