// What the screens keep from one analysis to the next: the settings, the
// variables chosen from the data file and the columns loaded for them, and the
// file names.
#pragma once

#include <string>

#include "data/loaded_data.h"
#include "korvel/settings.h"

namespace korvel {

struct Session {
    AnalysisSettings settings;
    std::string inputFile = "input.txt";
    std::string outputFile = "output.txt";
    bool inputChanged = false; // the data file was renamed: the next load starts afresh

    ColumnSelection selection;  // the variables chosen on the data-input screen
    int lineCount = 0;          // lines of the data file, header included; 0 = not counted
    bool loadDue = true;        // the selection changed since the columns were loaded
    bool filtersPending = true; // the filter questions are due at the next load
    LoadedData data;            // the columns as last loaded, with the filter decisions

    // Forgets the variables, the line count, the columns and the filter decisions.
    void forgetData()
    {
        selection = {};
        lineCount = 0;
        loadDue = true;
        filtersPending = true;
        data = {};
    }
};

} // namespace korvel
