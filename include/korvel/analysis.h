// One whole analysis as a run from options makes it, and its results file:
// the R and Python packages' mirror of the command line.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "korvel/data.h"
#include "korvel/events.h"
#include "korvel/random_stream.h"
#include "korvel/results.h"
#include "korvel/settings.h"

namespace korvel {

// What an analysis found, in the order it found it.
struct Analysis {
    Data data;
    Fit fit;
    std::optional<CommonSlopeTest> commonSlope;     // with at least two groups
    std::optional<PairTable<SlopePair>> slopePairs; // when compared
    std::optional<LinesWithCommonSlope> lines;      // when the lines with the common slope were compared
    std::vector<WaldTest> waldTests;                // in the order run
};

// A run without questions, as the command line's options ask for it (the
// variables are chosen by the data's request).
struct Request {
    AnalysisSettings settings;
    ErrorVariances errors;  // with settings.measurementError
    bool slopePairs = false; // pairwise slope comparisons when the slopes differ
    bool elevation = false, elevationPairs = false;
    bool shift = false, shiftPairs = false;
    std::string saveFile; // the transformed data, when given
};

// RequestError when the request cannot be run: settings out of their ranges,
// elevation or a hypothesised intercept asked of lines through the origin.
void checkRequest(const Request& request);

// The analysis of the data that a run from options with this request makes,
// with no report: the same results its results file holds. The saved scores
// are written when the request names a file. RequestError as checkRequest
// says; FileNotOpened when the scores cannot be written.
Analysis analyse(const Data& data, const Request& request, RandomStream& random, AnalysisEvents& events = noEvents());

// Each comparison or output the request asked for that did not apply, and why:
// pairs of slopes that do not differ, tests of lines (and the saved scores,
// which are theirs) whose slopes differ or of a single group, pairs of a test
// that found no shift.
std::vector<NotDone> whatWasNotDone(const Request& request, const Analysis& analysis);

// The version of the results file's layout, its "schema_version".
inline constexpr int resultsSchemaVersion = 2;

// Writes the results file: one JSON document, indented, with a final line
// end, every number at full precision; a number that is not finite is null
// beside a "<name>_note" of "inf", "-inf" or "nan". The layout is the schema
// docs/results.schema.json.
void writeResultsJson(std::ostream& out, const Analysis& analysis, std::optional<std::uint32_t> seed,
                      const std::vector<NotDone>& notDone);

} // namespace korvel
