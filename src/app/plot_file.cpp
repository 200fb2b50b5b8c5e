#include "app/plot_file.h"

#include <filesystem>
#include <fstream>

#include "data/errors.h"
#include "report/analysis_plot.h"

std::string plotFileName(const std::string& reportName, int number)
{
    std::filesystem::path stem = reportName.empty() ? std::filesystem::path("korvel") : std::filesystem::path(reportName);
    stem.replace_extension();
    return stem.string() + "-" + std::to_string(number) + ".svg";
}

void writeAnalysisPlot(const std::string& fileName, const AnalysisResults& results, const AnalysisSettings& settings,
                       const LoadedData& data, std::ostream& messages)
{
    std::ofstream file(fileName, std::ios::out | std::ios::trunc | std::ios::binary);
    const auto& lines = results.linesAtCommonSlope;
    const std::optional<double> commonSlope = lines ? std::optional<double>(lines->B) : std::nullopt;
    if (!file.is_open() || !writePlot(file, analysisPlot(results.groups, commonSlope, settings, data)) ||
        !file.flush())
        throw FileNotOpened(fileName, systemReason());
    messages << "Plot written to " << fileName << std::endl;
}
