// The end of a run on a file that cannot be opened.
#pragma once

#include "dialogue/console_input.h"
#include "data/errors.h"

namespace korvel {

// Writes why (a CSV file's problem, when there is one) and "File NAME not
// opened" on standard error; returns the exit status, 1.
int notOpened(Console& console, const FileNotOpened& file);

} // namespace korvel
