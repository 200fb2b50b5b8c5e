// The data a run from options analyses: the variables and filters its options
// name, read from the data file.
#pragma once

#include "cli/command_line.h"
#include "data/data_file.h"
#include "data/loaded_data.h"

namespace korvel {

// Reads the columns the options choose (-y, -x, --group, --remove, --range)
// from the data file of lineCount lines and leaves out the values --remove
// names, telling the progress how far the reading has come. UsageError when a
// variable or value does not fit the data.
LoadedData loadData(const DataFile& file, int lineCount, const AnalysisRequest& r, Progress& progress);

} // namespace korvel
