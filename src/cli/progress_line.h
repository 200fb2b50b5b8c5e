// Progress on a terminal: one line rewritten in place while long work runs.
#pragma once

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>

#include "korvel/progress.h"

namespace korvel {

// How much work a stage must be to be shown: reading about a million lines
// (of some 20 bytes), or resampling whose points times resamples pass 10^8
// (a few seconds).
struct ProgressThresholds {
    double bytes = 2e7;
    double pointResamples = 1e8;
};

// Shows a stage whose work reaches its threshold (when the work is not known
// beforehand: once the bytes done reach it) as one line, "korvel: STAGE: DONE
// of TOTAL, N s left", rewritten in place at each advance: the count of the
// total when it is known (bytes as MB), the bytes read when not, and the time
// left once it can be estimated (from the time taken so far). The line is
// erased when the stage ends, and before a message (clear); nothing is shown
// for a smaller stage.
class ProgressLine : public Progress {
public:
    // Seconds from any start, as the clock gives them.
    using Clock = std::function<double()>;
    explicit ProgressLine(std::ostream& out, ProgressThresholds thresholds = {}, Clock clock = nullptr);
    ~ProgressLine() override;
    void begin(Stage stage, long long total, double work) override;
    void advance(long long done) override;
    void end() override;
    // Erases the line, so that a message can be written; the next advance
    // draws it again.
    void clear();

private:
    std::ostream& out;
    ProgressThresholds thresholds;
    Clock clock;
    Stage stage = Stage::Reading;
    long long total = 0;
    bool shown = false;     // the stage is large enough to show
    double started = 0;     // when the stage began, by the clock
    std::size_t drawn = 0;  // the characters of the line on the terminal
    std::string text(long long done) const;
};

} // namespace korvel
