#include "report/console_messages.h"

namespace korvel {

void MessageWriter::commonSlopeDidNotSettle(const std::vector<std::string>& groups, double last, double next)
{
    if (style == MessageStyle::Dialogue) {
        slopesDidNotConverge(last, next);
        return;
    }
    out << "korvel: the common slope of ";
    for (std::size_t i = 0; i < groups.size(); ++i)
        out << (i ? ", " : "") << groups[i];
    out << " did not settle (last iterates " << last << " and " << next << ")" << std::endl;
}

void MessageWriter::slopesDidNotConverge(double last, double next)
{
    out << "SLOPES didn't converge" << last << " " << next << std::endl;
}

void MessageWriter::resamplingStopped(long long counted, long long wanted)
{
    out << "Resampling stopped: " << counted << " of " << wanted << " resamples converged" << std::endl;
}

void MessageWriter::pairSlopeDidNotConverge(const std::string& first, const std::string& second)
{
    out << "slope didn't converge for groups: " << first << " & " << second << ", check data." << std::endl;
}

void MessageWriter::pairCompared(int count)
{
    if (style == MessageStyle::Dialogue)
        out << count << " ";
}

void writeShortRecordsWarning(std::ostream& out, int shortRecords, const std::string& file, int cells)
{
    if (shortRecords > 0)
        out << "Warning: " << shortRecords << " line(s) of " << file << " do not have " << cells << " cells"
            << std::endl;
}

void writeLeftOutWarnings(std::ostream& out, const LinesLeftOut& leftOut)
{
    if (leftOut.notNumbers > 0)
        out << "Warning: " << leftOut.notNumbers << " line(s) left out: Y or X is not a number" << std::endl;
    if (leftOut.notPositive > 0)
        out << "Warning: " << leftOut.notPositive
            << " line(s) left out: Y or X is not above 0 for the log transformation" << std::endl;
}

void writeSmallGroupErased(std::ostream& out, const std::string& name, int n)
{
    out << "Group " << name << " erased with " << n << " elements" << "\n";
}

void writeInvariantGroupErased(std::ostream& out, const std::string& name)
{
    out << "Group " << name << " erased: its Y or X does not vary" << std::endl;
}

void writeNoFreedomGroupErased(std::ostream& out, const std::string& name)
{
    out << "Group " << name << " erased: its line leaves no residual degree of freedom" << std::endl;
}

void writeErrorGroupErased(std::ostream& out, const std::string& name)
{
    out << "Group " << name << " erased: measurement error too large for its data" << std::endl;
}

} // namespace korvel
