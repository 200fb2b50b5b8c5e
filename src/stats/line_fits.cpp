#include "stats/line_fits.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "stats/distributions.h"
#include "stats/moments.h"

namespace korvel {

std::vector<std::string> removeGroupsWithoutResidualFreedom(const Estimator& estimator, GroupMap& groups)
{
    return removeGroupsWhere(groups, [&](const Group& g) { return estimator.degreesOfFreedom(g.n) < 1; });
}

namespace {
// The group's robust location and scatter, and its effective sizes.
void storeRobustMoments(Group& g, const RobustMoments& m)
{
    g.Xmean = m.xMean;
    g.Ymean = m.yMean;
    g.SXX = m.sxx;
    g.SYY = m.syy;
    g.SXY = m.sxy;
    g.shapeSize = g.n / shapeVarianceFactor();
    g.locationSize = g.n / locationVarianceFactor();
}

// The points the location all but sets aside.
void markDownweighted(Group& g, const RobustMoments& m)
{
    g.downweighted.resize(g.X.size());
    for (std::size_t i = 0; i < g.X.size(); ++i)
        g.downweighted[i] = isDownweighted(g.X[i], g.Y[i], m);
}
} // namespace

void fitLines(const Estimator& estimator, ErrorVariances errors, GroupMap& groups)
{
    if (estimator.robust) {
        for (auto& entry : groups) {
            Group& g = entry.second;
            const RobustMoments m = robustMoments(g.X, g.Y, estimator.hasIntercept);
            storeRobustMoments(g, m);
            markDownweighted(g, m);
        }
    } else {
        storeMoments(groups, estimator.hasIntercept, [](const Group& g) { return StoredPoints{g}; });
    }
    for (auto& entry : groups)
        fitFromMoments(estimator, errors, entry.second);
}

void fitRobustMoments(const Estimator& estimator, ErrorVariances errors, Group& g, const RobustMoments& m)
{
    storeRobustMoments(g, m);
    fitFromMoments(estimator, errors, g);
}

void fitFromMoments(const Estimator& estimator, ErrorVariances errors, Group& g)
{
    g.SXX -= errors.x;
    g.SYY -= errors.y;
    g.R2 = g.SXY * g.SXY / (g.SYY * g.SXX);
    g.slope = estimator.slope(g.SYY, g.SXX, g.SXY);
    g.interc = estimator.intercept(g.Ymean, g.Xmean, g.slope);
    g.varFitted = estimator.varFitted(g.SYY, g.SXX, g.SXY, g.slope, g.locationSize);
    g.varResid = estimator.varResid(g.SYY, g.SXX, g.SXY, g.slope, g.locationSize);
    g.varSlope = estimator.varSlope(g.SYY, g.SXX, g.SXY, g.varFitted, g.varResid, g.slope, g.shapeSize);
}

double uncorrectedR2(const Estimator& estimator, const Group& g, ErrorVariances errors)
{
    if (estimator.robust)
        return g.SXY * g.SXY / ((g.SXX + errors.x) * (g.SYY + errors.y));
    const bool centred = estimator.hasIntercept;
    const double sxx = sumOfProducts(g.X, g.X, centred);
    const double syy = sumOfProducts(g.Y, g.Y, centred);
    const double sxy = sumOfProducts(g.X, g.Y, centred);
    return sxy * sxy / (sxx * syy);
}

double correlationPvalue(const Estimator& estimator, const Group& g, ErrorVariances errors)
{
    const double r2 = uncorrectedR2(estimator, g, errors);
    const double d = estimator.degreesOfFreedom(g.shapeSize);
    return fdistQ(d * r2 / unexplainedShare(r2), 1, d);
}

std::pair<double, double> slopeLimits(Method method, const Group& g, double alpha, double df)
{
    if (method == Method::OLS) {
        const double h = std::sqrt(g.varSlope) * tdistPinv(1 - alpha / 2, df);
        return {g.slope - h, g.slope + h};
    }
    if (method == Method::SMA) {
        const double B = unexplainedShare(g.R2) / df * fdistPinv(1 - alpha, 1, df);
        const double l1 = g.slope * (std::sqrt(B + 1) - std::sqrt(B));
        const double l2 = g.slope * (std::sqrt(B + 1) + std::sqrt(B));
        return {l2 < l1 ? l2 : l1, l2 > l1 ? l2 : l1};
    }
    // At least 0, as unexplainedShare(), for points on an exact line.
    const double Q = std::max(0.0, g.SXX * g.SYY - g.SXY * g.SXY) / df * fdistPinv(1 - alpha, 1, df);
    const double spread = g.SYY - g.SXX;
    const double discriminant = spread * spread + 4 * g.SXY * g.SXY - 4 * Q;
    // Below 0 the test of slope = beta rejects no direction at all: every
    // slope lies within the limits.
    if (discriminant < 0)
        return {-std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()};
    const double D = spread + std::sqrt(discriminant);
    return {D / (2 * (g.SXY + std::sqrt(Q))), D / (2 * (g.SXY - std::sqrt(Q)))};
}

void fitLimits(const Estimator& estimator, GroupMap& groups, int confidence, ErrorVariances errors)
{
    const double alpha = alphaOf(confidence);
    for (auto& entry : groups) {
        Group& g = entry.second;
        g.p = correlationPvalue(estimator, g, errors);
        const auto limits = slopeLimits(estimator.method, g, alpha, estimator.degreesOfFreedom(g.shapeSize));
        g.slopeLowCI = limits.first;
        g.slopeUppCI = limits.second;
        if (estimator.hasIntercept) {
            g.varInterc = g.Xmean * g.Xmean * g.varSlope + g.varResid / g.locationSize;
            const double df = estimator.degreesOfFreedom(g.locationSize);
            const double h = std::sqrt(g.varInterc) * tdistPinv(1 - alpha / 2, df);
            g.intercLowCI = g.interc - h;
            g.intercUppCI = g.interc + h;
        } else {
            g.varInterc = 0;
            g.intercLowCI = 0;
            g.intercUppCI = 0;
        }
    }
}

} // namespace korvel
