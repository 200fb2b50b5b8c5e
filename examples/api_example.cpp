// The engine's calls on the bundled data: heart weight on body weight of the
// cats, by sex, as SMA lines on log scales; then the test for a common slope
// and, when the sexes share it, the test for a shift in elevation with its
// pair. Usage: api_example [DATAFILE] (default examples/input.txt).
#include <iostream>

#include "korvel/korvel.h"

int main(int argc, char** argv)
{
    using namespace korvel;
    try {
        DataRequest request;
        request.y = "Hwt";
        request.x = "Bwt";
        request.groups = {"Sex"};
        const Data data = dataFromFile(argc > 1 ? argv[1] : "examples/input.txt", request);

        AnalysisSettings settings;
        settings.transform = Transform::Log10;
        const Fit fit = korvel::fit(data, settings);
        for (const GroupLine& line : fit.lines)
            std::cout << line.group << ": n " << line.n << ", slope " << line.slope << " (" << line.slopeLow << " to "
                      << line.slopeHigh << ")\n";

        RandomStream random;
        const CommonSlopeTest test = testCommonSlope(fit, PValueFrom::ChiSquared, 1000, 0.05, random);
        std::cout << "common slope " << test.slope << ", statistic " << test.statistic << ", p " << test.p << "\n";
        if (!test.common)
            return 0;
        std::cout << "limits " << test.limits->low << " to " << test.limits->high << "\n";
        const LinesWithCommonSlope lines = linesWithCommonSlope(fit, test);
        const WaldTest elevation = testShift(fit, lines, ScoreAxis::Residual, 0.05, true);
        std::cout << "elevation: statistic " << elevation.statistic << ", p " << elevation.p << "; "
                  << elevation.pairs->name(1) << " less " << elevation.pairs->name(0) << " "
                  << elevation.pairs->get(1, 0).difference << "\n";
        return 0;
    } catch (const Error& e) {
        std::cerr << "api_example: " << e.what() << "\n";
        return 1;
    }
}
