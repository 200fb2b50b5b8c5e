#include "stats/hypothesis_tests.h"

#include <cmath>

#include "stats/distributions.h"

namespace korvel {

TestResult slopeTest(const Estimator& estimator, const Group& g, double b0)
{
    const AxisMoments at = estimator.axisMoments(g.SYY, g.SXX, g.SXY, b0);
    const double r2 = at.c * at.c / (at.f * at.r);
    const double d = estimator.degreesOfFreedom(g.shapeSize);
    TestResult result;
    result.stat = d * r2 / (1 - r2);
    result.p = fdistQ(result.stat, 1, d);
    return result;
}

TestResult interceptTest(const Group& g, double a0)
{
    TestResult result;
    result.stat = (g.interc - a0) / std::sqrt(g.varInterc);
    result.p = 2 * tdistP(-std::fabs(result.stat), g.locationSize - 2);
    return result;
}

} // namespace korvel
