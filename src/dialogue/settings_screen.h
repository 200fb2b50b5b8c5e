// The settings screen: one line per setting, each with its letter.
#pragma once

#include "dialogue/console_input.h"
#include "dialogue/session.h"

namespace korvel {

// Shows the settings and acts on one letter at a time until the user loads
// data (L, through the data-input screen: returns true) or exits (x: prints
// "\nGoodBye" and returns false).
bool runSettingsScreen(Console& console, Session& session);

} // namespace korvel
