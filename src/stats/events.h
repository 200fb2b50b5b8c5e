// What an analysis reports while it computes: the front end shows these
// events as they happen (the console's messages), between its own output.
#pragma once

#include <string>

#include "data/progress.h"

namespace korvel {

class AnalysisEvents {
public:
    virtual ~AnalysisEvents() = default;
    // The common-slope iteration stopped after its 200 iterations: the last
    // two iterates.
    virtual void slopesDidNotConverge(double last, double next) = 0;
    // Resampling gave up after its attempts: resamples counted and wanted.
    virtual void resamplingStopped(long long counted, long long wanted) = 0;
    // A pair of groups got no common slope within the iteration limit.
    virtual void pairSlopeDidNotConverge(const std::string& first, const std::string& second) = 0;
    // The count-th pair of the slope comparisons is done.
    virtual void pairCompared(int count) = 0;
    // Where long computations tell how far they have come: nowhere unless a
    // front end shows it.
    virtual Progress& progress() { return noProgress(); }
};

} // namespace korvel
