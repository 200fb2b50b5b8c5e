// What a computation reports while it runs, beside its progress: a front end
// shows these as messages (the dialogue's console, or standard error).
#pragma once

#include <string>
#include <vector>

#include "korvel/progress.h"

namespace korvel {

class AnalysisEvents {
public:
    virtual ~AnalysisEvents() = default;
    // The common slope of the named groups (all of them, or a pair) did not
    // settle in its 200 iterations and no fixed point was found after them:
    // the last two iterates.
    virtual void commonSlopeDidNotSettle(const std::vector<std::string>& groups, double last, double next) = 0;
    // Likewise for the groups of one resample.
    virtual void slopesDidNotConverge(double last, double next) = 0;
    // Resampling gave up after its attempts: resamples counted and wanted.
    virtual void resamplingStopped(long long counted, long long wanted) = 0;
    // A pair of groups got no common slope within the iteration limit.
    virtual void pairSlopeDidNotConverge(const std::string& first, const std::string& second) = 0;
    // The count-th pair of the slope comparisons is done.
    virtual void pairCompared(int count) = 0;
    // Where long computations tell how far they have come.
    virtual Progress& progress() { return noProgress(); }
};

// Events that go nowhere.
AnalysisEvents& noEvents();

} // namespace korvel
