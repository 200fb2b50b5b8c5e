// The data-input screen: picks the grouping, Y, X and filter variables, the
// transformation and the hypothesised values, and loads the data.
#pragma once

#include "dialogue/console_input.h"
#include "dialogue/session.h"

namespace korvel {

// Opens the data file (FileNotOpened when it cannot), shows the screen and
// acts on one letter at a time until the data are loaded with L.
void runDataInputScreen(Console& console, Session& session);

} // namespace korvel
