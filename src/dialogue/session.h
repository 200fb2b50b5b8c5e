// What the screens keep from one analysis to the next: the settings, the data
// chosen from the data file, and the file names.
#pragma once

#include <string>

#include "data/loaded_data.h"
#include "data/settings.h"

struct Session {
    AnalysisSettings settings;
    LoadedData data;
    std::string inputFile = "input.txt";
    std::string outputFile = "output.txt";
    bool inputChanged = false; // the data file was renamed: the next load starts afresh
};
