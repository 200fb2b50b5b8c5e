// The interactive run: the settings screen and analyses in turn, until the
// user types x, standard input ends, or a file cannot be opened.
#pragma once

#include <cstdint>
#include <string>

#include "dialogue/console_input.h"

namespace korvel {

struct DialogueOptions {
    std::string dataFile; // the input file to start with; empty: the default
    bool plot = false;    // a plot of every analysis beside the report
    bool vector = false;  // its markers vector shapes, however many points
    std::uint32_t seed = 1; // of the resampling's stream, which runs on from one analysis to the next
};

// Runs the dialogue on the console's streams and returns the exit status (1:
// the dialogue has no other).
int runDialogue(const DialogueOptions& options, Console& console);

} // namespace korvel
