#include "report/summary_block.h"

void writeSummaryHead(std::ostream& out, const AnalysisSettings& settings, const LoadedData& data)
{
    const auto& cols = data.columns;
    const char* prefix = transformPrefix(settings.transform);
    out << methodName(settings.method) << " analysis";
    if (!settings.intercept)
        out << "\t fitted through origin";
    if (settings.measurementError)
        out << "\t fitted using Methods of Moments";
    out << "\nFilename:\t" << data.filename;
    out << "\nGrp:\t" << cols[GroupColumn][0];
    out << "\tY: " << prefix << cols[YColumn][0] << "\tX: " << prefix << cols[XColumn][0] << std::endl;
    out << "No. iterations:\t" << settings.iterations << "\tCritical p:\t" << settings.criticalP
        << "\tConf.interval:\t" << settings.confidence << "%" << std::endl;
    out << "Filters:\n";
    for (std::size_t k = 0; k < data.filterMaps.size(); ++k) {
        out << cols[FirstFilterColumn + k][0] << "\t";
        for (const auto& keep : data.filterMaps[k])
            out << keep.first << " (" << keep.second << ")\t";
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

void writeRemovedInvariant(std::ostream& out, const std::vector<std::string>& names)
{
    if (names.empty())
        return;
    out << "\nGroups whose Y or X does not vary (removed):\t";
    for (const std::string& name : names)
        out << name << "\t";
}

void writeCounts(std::ostream& out, std::size_t groups, long long points)
{
    out << "\nNo. groups:\t" << groups << "\nNo. datapoints:\t" << points << std::endl;
}

void writeMeasurementError(std::ostream& out, const AnalysisSettings& settings, const LoadedData& data,
                           ErrorVariances errors)
{
    out << "Measurement Error: ";
    if (settings.measurementError)
        out << data.columns[XColumn][0] << " = " << errors.x << "\t" << data.columns[YColumn][0] << " = " << errors.y
            << std::endl;
    else
        out << "Not included" << std::endl;
}

void writeRemovedForError(std::ostream& out, const std::vector<std::string>& names)
{
    if (names.empty())
        return;
    out << "Measurement error too large, removed:\t";
    for (const std::string& name : names)
        out << name << "\t";
    out << std::endl;
}
