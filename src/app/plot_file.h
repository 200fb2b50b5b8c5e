// The plot file of an analysis: its name and its writing.
#pragma once

#include <ostream>
#include <string>

#include "data/loaded_data.h"
#include "analysis/analysis_run.h"

// STEM-K.svg beside the report (STEM its name without the extension), or
// korvel-K.svg when the report goes to standard output (no name); K is the
// analysis's number in the run, from 1.
std::string plotFileName(const std::string& reportName, int number);

// Writes the plot and says "Plot written to NAME" on messages; FileNotOpened
// when the file cannot be written.
void writeAnalysisPlot(const std::string& fileName, const AnalysisResults& results, const AnalysisSettings& settings,
                       const LoadedData& data, std::ostream& messages);
