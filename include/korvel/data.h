// The data of an analysis, built from columns in memory or from the variables
// of a data file chosen by name as the command line chooses them.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "korvel/columns.h"
#include "korvel/progress.h"

namespace korvel {

struct LoadedData; // the columns as the engine holds them

// Data ready for an analysis.
struct Data {
    std::shared_ptr<const LoadedData> columns;
    int shortRecords = 0; // data file records with fewer cells than the header
    int headerCells = 0;  // the data file header's cells

    const std::string& source() const; // the data file's name, or the columns' source
    const std::string& yName() const;
    const std::string& xName() const;
    const std::string& groupingName() const; // the grouping variables' names joined by a blank; "none"
    bool grouped() const;                    // a grouping variable was chosen
    std::size_t dataLines() const;
    std::vector<FilterDecisions> filters() const;
};

// The data from columns in memory. RequestError when they are not of one length.
Data dataFromColumns(const ColumnsView& columns);

// The chosen variables of the data file named path ("-": standard input),
// read in one pass and telling the progress how far it has come.
// FileNotOpened when it cannot be read; RequestError when a variable or value
// does not fit the data.
Data dataFromFile(const std::string& path, const DataRequest& request, Progress& progress = noProgress());

// The same from a data file's text held in memory under the name given.
Data dataFromText(const std::string& name, std::string text, const DataRequest& request,
                  Progress& progress = noProgress());

} // namespace korvel
