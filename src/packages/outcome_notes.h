// What a package's call hands back besides its numbers: the results file's
// document as text and the notes its caller is warned with.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "korvel/analysis.h"

namespace korvel {

// The results file's document of the analysis (writeResultsJson's).
std::string resultsDocument(const Analysis& analysis, std::optional<std::uint32_t> seed = std::nullopt,
                            const std::vector<NotDone>& notDone = {});

// What was not done as "keyword: why", the option named as the packages'
// keyword ("--slope-pairs" as slope_pairs).
std::vector<std::string> notDoneNotes(const std::vector<NotDone>& notDone);

// "no group left to analyse" when the fit kept no group.
std::vector<std::string> emptyFitNotes(const Fit& fit);

// The warning the reading of the data file at path gave (its short records),
// if any, as one note.
std::vector<std::string> readingNotes(const Data& data, const std::string& path);

void append(std::vector<std::string>& notes, const std::vector<std::string>& more);

} // namespace korvel
