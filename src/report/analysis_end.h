// The line that ends every analysis in the report.
#pragma once

#include <ostream>

namespace korvel {

// A line of 100 hyphens, then a blank line.
void writeAnalysisEnd(std::ostream& report);

} // namespace korvel
