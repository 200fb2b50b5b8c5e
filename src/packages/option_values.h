// The values both packages read alike from their callers: a data file's
// filters and format, and the confidence as a fraction.
#pragma once

#include <string>
#include <vector>

#include "korvel/columns.h"

namespace korvel {

// A filter given as {variable, value} (leave out the lines whose variable is
// value) or {variable, min, max} (a scalar filter's classes); shape names
// those two forms in the caller's language for the message. RequestError for
// another size or a range whose minimum is not below its maximum.
FilterRequest filterOf(const std::vector<std::string>& filter, const std::string& shape);

// "tsv", "csv", or "" for by the file's name and content. RequestError else.
DataFormat formatOf(const std::string& word);

// The confidence in percent from its fraction, a whole percent within the
// range a run from options takes. RequestError naming keyword else.
int confidencePercentOf(const char* keyword, double fraction);

} // namespace korvel
