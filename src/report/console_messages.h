// The messages an analysis shows on the console while it runs.
#pragma once

#include <ostream>
#include <string>

#include "korvel/results.h"
#include "korvel/events.h"

namespace korvel {

// Where the events are shown: on the dialogue's console (with the pair count),
// or on standard error beside a run from options (a common slope of the data
// that did not settle named as a "korvel: " message).
enum class MessageStyle { Dialogue, Options };

// Shows the computation's events on a stream, in the stream's current number
// format.
class MessageWriter : public AnalysisEvents {
public:
    MessageWriter(std::ostream& out, MessageStyle style) : out(out), style(style) {}
    void commonSlopeDidNotSettle(const std::vector<std::string>& groups, double last, double next) override;
    void slopesDidNotConverge(double last, double next) override;
    void resamplingStopped(long long counted, long long wanted) override;
    void pairSlopeDidNotConverge(const std::string& first, const std::string& second) override;
    void pairCompared(int count) override;

private:
    std::ostream& out;
    MessageStyle style;
};

// The warning about records with fewer cells than the header.
void writeShortRecordsWarning(std::ostream& out, int shortRecords, const std::string& file, int cells);

// The warnings about lines left out for their Y or X, each only when it applies.
void writeLeftOutWarnings(std::ostream& out, const LinesLeftOut& leftOut);

// A group removed for having fewer points than the minimum.
void writeSmallGroupErased(std::ostream& out, const std::string& name, int n);

// A group removed because its Y or X does not vary.
void writeInvariantGroupErased(std::ostream& out, const std::string& name);

// A group removed because its line leaves no residual degree of freedom.
void writeNoFreedomGroupErased(std::ostream& out, const std::string& name);

// A group removed because the error variances leave it no line.
void writeErrorGroupErased(std::ostream& out, const std::string& name);

} // namespace korvel
