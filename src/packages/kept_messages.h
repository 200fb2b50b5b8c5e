// The engine's messages as the command line words them, kept line by line for
// a package to hand to its caller (as warnings), with the package's own check
// for an interrupt as the progress of long work.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "korvel/events.h"
#include "korvel/progress.h"
#include "report/console_messages.h"
#include "report/plain_nan.h"

namespace korvel {

// The lines of a text.
std::vector<std::string> linesOf(const std::string& text);

struct MessageText {
    std::ostringstream text;
};

// InterruptCheck: the package's Progress, whose advance throws Interrupted
// when the user has asked to stop.
template <typename InterruptCheck>
class KeptMessages : private MessageText, public MessageWriter {
public:
    KeptMessages() : MessageWriter(text, MessageStyle::Options) { writeNaNPlainly(text); }
    Progress& progress() override { return check; }
    std::vector<std::string> messages() const { return linesOf(text.str()); }

private:
    InterruptCheck check;
};

} // namespace korvel
