// What the engine tells while it runs, as Python takes it: its messages kept
// as text (the package turns them into warnings) and its progress checking
// for Ctrl-C, which stops the call with KeyboardInterrupt.
#pragma once

#include "korvel/progress.h"
#include "packages/kept_messages.h"

namespace korvel::python {

// Progress that stops the work when Python has a signal to handle: called
// without the GIL, it takes it to run the signal's handler and throws
// Interrupted when the handler raised (the exception stays set in Python).
class SignalCheck : public Progress {
public:
    void begin(Stage, long long, double) override {}
    void advance(long long done) override;
    void end() override {}
};

// The engine's events as the command line words them, kept line by line.
using PythonEvents = KeptMessages<SignalCheck>;

} // namespace korvel::python
