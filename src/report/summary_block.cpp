#include "report/summary_block.h"

namespace korvel {

void writeSummaryHead(std::ostream& out, const AnalysisSettings& settings, const Data& data)
{
    const char* prefix = namesOf(transformNames, settings.transform).report;
    out << namesOf(methodNames, settings.method).report << " analysis";
    if (!settings.intercept)
        out << "\t fitted through origin";
    if (settings.measurementError)
        out << "\t fitted using Methods of Moments";
    if (settings.robust)
        out << "\trobust (Huber M-estimation)";
    out << "\nFilename:\t" << data.source();
    out << "\nGrp:\t" << data.groupingName();
    out << "\tY: " << prefix << data.yName() << "\tX: " << prefix << data.xName() << std::endl;
    out << "No. iterations:\t" << settings.iterations << "\tCritical p:\t" << settings.criticalP
        << "\tConf.interval:\t" << settings.confidence << "%" << std::endl;
    out << "Filters:\n";
    for (const FilterDecisions& filter : data.filters()) {
        out << filter.variable << "\t";
        for (const auto& [label, kept] : filter.keep)
            out << label << " (" << (kept ? 1 : 0) << ")\t";
        out << std::endl;
    }
}

void writeLeftOut(std::ostream& out, int rejected, int minGroupSize)
{
    out << "Filtered or empty data points:\t" << rejected;
    out << "\nGroups with less than " << minGroupSize << " data points (removed):\t";
}

void writeRemovedName(std::ostream& out, const std::string& name)
{
    out << name << "\t";
}

namespace {
// The heading and the names, when there are any.
void writeRemovedList(std::ostream& out, const char* heading, const std::vector<std::string>& names)
{
    if (names.empty())
        return;
    out << heading;
    for (const std::string& name : names)
        writeRemovedName(out, name);
}
} // namespace

void writeRemovedInvariant(std::ostream& out, const std::vector<std::string>& names)
{
    writeRemovedList(out, "\nGroups whose Y or X does not vary (removed):\t", names);
}

void writeRemovedNoFreedom(std::ostream& out, const std::vector<std::string>& names)
{
    writeRemovedList(out, "\nGroups without a residual degree of freedom (removed):\t", names);
}

void writeCounts(std::ostream& out, std::size_t groups, long long points)
{
    out << "\nNo. groups:\t" << groups << "\nNo. datapoints:\t" << points << std::endl;
}

void writeMeasurementError(std::ostream& out, const AnalysisSettings& settings, const Data& data,
                           ErrorVariances errors)
{
    out << "Measurement Error: ";
    if (settings.measurementError)
        out << data.xName() << " = " << errors.x << "\t" << data.yName() << " = " << errors.y
            << std::endl;
    else
        out << "Not included" << std::endl;
}

void writeRemovedForError(std::ostream& out, const std::vector<std::string>& names)
{
    writeRemovedList(out, "Measurement error too large, removed:\t", names);
    if (!names.empty())
        out << std::endl;
}

} // namespace korvel
