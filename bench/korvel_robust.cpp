// The robust lines judged by simulation (tests/unit/robust_simulation.h), at
// the full numbers of replicates: the coverage of the robust slopes' 95 %
// intervals on clean bivariate normal data (4,000 replicates; target 93-97 %),
// the size of the robust common-slope and elevation tests (2,000 replicates;
// 4-6 % and 4-7 %), and the slope among 10 % outliers (200 replicates; mean
// relative error below 10 %, the ordinary slope's above 20 %). Prints one line
// per figure with PASS or FAIL.
#include <cstdio>

#include "../tests/unit/robust_simulation.h"

using namespace korvel;
using namespace korvel::simulation;

namespace {
bool within(double value, double low, double high)
{
    return low <= value && value <= high;
}

bool report(const char* what, double value, double low, double high)
{
    const bool pass = within(value, low, high);
    std::printf("%-44s %8.4f  [%g, %g]  %s\n", what, value, low, high, pass ? "PASS" : "FAIL");
    return pass;
}
} // namespace

int main()
{
    std::mt19937_64 rng(20261207);
    bool all = true;
    for (Method method : {Method::SMA, Method::MA, Method::OLS})
        for (int n : {20, 50, 200})
            for (double r : {0.5, 0.8}) {
                char what[64];
                std::snprintf(what, sizeof what, "coverage %s n %d r %.1f", namesOf(methodNames, method).report, n, r);
                all = report(what, coverage(method, n, r, 4000, rng), 0.93, 0.97) && all;
            }
    const TestSizes sizes = testSizes(2000, rng);
    all = report("common-slope test rejects a common slope", sizes.commonSlope, 0.04, 0.06) && all;
    all = report("elevation test rejects a common elevation", sizes.elevation, 0.04, 0.07) && all;
    const OutlierErrors errors = outlierErrors(200, rng);
    all = report("robust slope's relative error, 10 % outliers", errors.robust, 0, 0.10) && all;
    all = report("ordinary slope's relative error", errors.ordinary, 0.20, 1e9) && all;
    return all ? 0 : 1;
}
