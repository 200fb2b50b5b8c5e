#include "plot/plot_file.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <functional>

#include "data/errors.h"
#include "data/output_file.h"
#include "plot/analysis_plot.h"

namespace korvel {

namespace {
void writeFigureFile(const std::string& fileName, const std::function<void(std::ostream&, PlotFormat)>& write,
                     const char* what, std::ostream& messages)
{
    std::ofstream file;
    openForWriting(file, fileName, std::ios::binary);
    write(file, plotFormatOf(fileName).value_or(PlotFormat::Svg));
    if (!file.flush())
        throw FileNotOpened(fileName, systemReason());
    messages << what << " written to " << fileName << std::endl;
}
} // namespace

std::string plotFileName(const std::string& reportName, int number)
{
    std::filesystem::path stem = reportName.empty() ? std::filesystem::path("korvel") : std::filesystem::path(reportName);
    stem.replace_extension();
    return stem.string() + "-" + std::to_string(number) + ".svg";
}

std::optional<PlotFormat> plotFormatOf(const std::string& fileName)
{
    std::string extension = std::filesystem::path(fileName).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".svg")
        return PlotFormat::Svg;
    if (extension == ".pdf")
        return PlotFormat::Pdf;
    if (extension == ".png")
        return PlotFormat::Png;
    return std::nullopt;
}

void writeAnalysisPlot(const std::string& fileName, const Analysis& analysis, bool vectorMarkers,
                       std::ostream& messages)
{
    PlotData plot = analysisPlot(analysis);
    plot.vectorMarkers = vectorMarkers;
    writeFigureFile(fileName, [&](std::ostream& out, PlotFormat format) { writePlot(out, plot, format); }, "Plot",
                    messages);
}

void writeAnalysisResidualPlot(const std::string& fileName, const Analysis& analysis, std::vector<GroupScores> scores,
                               bool vectorMarkers, std::ostream& messages)
{
    ResidualPlotData plot = residualPlot(analysis, std::move(scores));
    plot.vectorMarkers = vectorMarkers;
    writeFigureFile(fileName, [&](std::ostream& out, PlotFormat format) { writeResidualPlot(out, plot, format); },
                    "Residual plot", messages);
}

} // namespace korvel
