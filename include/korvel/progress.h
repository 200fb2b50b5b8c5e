// How far long work has come, told as it goes, so that a front end can show
// it (a line on a terminal, R's or Python's progress) and can stop it: the
// reading of a data file and the resampling of the common-slope test call it.
#pragma once

#include <stdexcept>

namespace korvel {

// What is being done, and so what its units are.
enum class Stage {
    Reading,    // data that can be read only once, read whole into memory: bytes
    Counting,   // the data file's lines counted: bytes
    Loading,    // the chosen columns read: bytes
    Resampling, // the common-slope test's resamples: resamples
};

class Progress {
public:
    virtual ~Progress() = default;
    // A stage begins: its units in all (0 when not known) and its work, the
    // elementary steps it takes (bytes read, or points resampled: points
    // times resamples; 0 when not known).
    virtual void begin(Stage stage, long long total, double work) = 0;
    // The units of the stage done so far; told from time to time (at most
    // every 1 % of a known total), not for every unit. A host that wants the
    // work stopped (the user's interrupt) throws Interrupted from here: the
    // call that was running ends with it and leaves nothing half done.
    virtual void advance(long long done) = 0;
    // The stage is over.
    virtual void end() = 0;
};

// The work was stopped from its progress.
struct Interrupted : std::runtime_error {
    Interrupted() : std::runtime_error("interrupted") {}
};

// Progress that goes nowhere: where nothing is shown.
Progress& noProgress();

} // namespace korvel
