#include "stats/hypothesis_tests.h"

#include <cmath>

#include "stats/distributions.h"

namespace korvel {

TestResult slopeTest(const Estimator& estimator, const Group& g, double b0)
{
    const double rF = estimator.covarRF(g.SYY, g.SXX, g.SXY, b0, g.n);
    const double vF = estimator.varFitted(g.SYY, g.SXX, g.SXY, b0, g.n);
    const double vR = estimator.varResid(g.SYY, g.SXX, g.SXY, b0, g.n);
    const double r2 = rF * rF / (vF * vR);
    TestResult result;
    result.stat = (g.n - 2) * r2 / (1 - r2);
    result.p = fdistQ(result.stat, 1, estimator.degreesOfFreedom(g.n));
    return result;
}

TestResult interceptTest(const Group& g, double a0)
{
    TestResult result;
    result.stat = (g.interc - a0) / std::sqrt(g.varInterc);
    result.p = 2 * tdistP(-std::fabs(result.stat), g.n - 2);
    return result;
}

} // namespace korvel
