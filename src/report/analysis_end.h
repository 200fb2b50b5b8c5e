// The line that ends every analysis in the report.
#pragma once

#include <ostream>

// A line of 100 hyphens, then a blank line.
void writeAnalysisEnd(std::ostream& report);
