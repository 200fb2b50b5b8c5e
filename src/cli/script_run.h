// One analysis run from the command line's options, with no question asked.
#pragma once

#include "cli/command_line.h"

namespace korvel {

// Reads the data file, runs the analysis and writes its report (and plot);
// returns the exit status: 0 when it ran, 1 when a file cannot be read or
// written. UsageError when a variable, value or file name does not fit the data.
int runFromOptions(const Invocation& invocation);

} // namespace korvel
