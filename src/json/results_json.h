// The results of an analysis as one JSON document, every number at full
// precision, for R, Python and pipelines; its layout is the schema
// docs/results.schema.json.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "data/loaded_data.h"
#include "korvel/settings.h"
#include "stats/analysis_results.h"

namespace korvel {

// The version of the document's layout, its "schema_version".
inline constexpr int resultsSchemaVersion = 2;

// A comparison or output an option asked for that was not made, and why.
struct NotDone {
    std::string option; // e.g. "--save"
    std::string reason; // e.g. "the slopes differ (common-slope p = 0.01, not above the critical p 0.05)"
};

// Writes the document, indented, with a final line end. A number that is not
// finite is written as null beside a "<name>_note" of "inf", "-inf" or "nan".
void writeResultsJson(std::ostream& out, const AnalysisSettings& settings, const LoadedData& data,
                      const AnalysisResults& results, std::optional<unsigned> seed,
                      const std::vector<NotDone>& notDone);

} // namespace korvel
