// Writes the plot of a data file in the form of data/plot_sample.txt as SVG:
//   plot_sample DATA OUT.svg
#include <fstream>
#include <sstream>

#include "report/plot.h"

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    std::ifstream in(argv[1]);
    std::ofstream out(argv[2], std::ios::binary);
    PlotData plot{"OLS lines: y on x by group", "x", "y", {}, std::nullopt};
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string first;
        words >> first;
        if (first == "common")
            words >> plot.commonSlope.emplace();
        else if (first == "group") {
            PlotGroup& g = plot.groups.emplace_back();
            words >> g.name >> g.slope >> g.intercept >> g.xMean >> g.yMean;
        } else if (!first.empty() && first[0] != '#' && !plot.groups.empty()) {
            plot.groups.back().x.push_back(std::stod(first));
            words >> plot.groups.back().y.emplace_back();
        }
    }
    return in.eof() && writePlot(out, plot) ? 0 : 1;
}
