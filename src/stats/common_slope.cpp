#include "stats/common_slope.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>

#include "stats/distributions.h"

namespace korvel {

namespace {
// The common slope's iteration stops at the first step smaller than this, or
// gives up after this many iterations.
const double stoppingStep = 0.0001;
const int mostIterations = 200;

// The search for a fixed point: settled when an update moves the slope by at
// most this much (times the slope when it is above 1 in size); given up after
// this many updates.
const double fixedPointTolerance = 1e-10;
const int mostUpdates = 100000;

// The search for a confidence limit: done when the statistic is this close
// to the quantile; given up after this many passes.
const double limitTolerance = 0.01;
const int searchPasses = 102;

// The weight of a group in the update of the common slope at b: for OLS
// n / r(b), the maximum-likelihood weight of a group with its own residual
// variance (free of the units of X and Y); n (1/r + 1/f) for SMA and
// n (1/r - 1/f) for MA.
double commonSlopeWeight(Method method, int n, const AxisMoments& m)
{
    if (method == Method::OLS)
        return n / m.r;
    return method == Method::MA ? n * (1 / m.r - 1 / m.f) : n * (1 / m.r + 1 / m.f);
}

// One step of the iteration: the slope of the groups' moments, each group
// weighted at the slope b.
double commonSlopeUpdate(const Estimator& estimator, const GroupMap& groups, double b)
{
    double wyy = 0, wxx = 0, wxy = 0;
    for (const auto& entry : groups) {
        const Group& g = entry.second;
        const double w = commonSlopeWeight(estimator.method, g.n, estimator.axisMoments(g.SYY, g.SXX, g.SXY, b));
        wyy += w * g.SYY;
        wxx += w * g.SXX;
        wxy += w * g.SXY;
    }
    return estimator.slope(wyy, wxx, wxy);
}

// The fixed point that the updates lead to from b, where one more update moves
// it by at most the fixed-point tolerance; nothing when none is reached within
// the updates allowed or an update is not finite. Pairs of plain updates, each
// followed by Aitken's extrapolation when the two steps shrink (|ratio| < 1):
// it then heads for the same fixed point as the updates, only faster.
std::optional<double> fixedPointFrom(const std::function<double(double)>& update, double b)
{
    const auto settled = [](double at, double next) {
        return std::fabs(next - at) <= fixedPointTolerance * std::max(1.0, std::fabs(at));
    };
    for (int updates = 0; updates < mostUpdates; updates += 2) {
        const double u1 = update(b), u2 = update(u1);
        if (!std::isfinite(u1) || !std::isfinite(u2))
            return std::nullopt;
        if (settled(b, u1))
            return b;
        if (settled(u1, u2))
            return u1;
        const double step1 = u1 - b, step2 = u2 - u1, ratio = step2 / step1;
        const double extrapolated = b - step1 * step1 / (step2 - step1);
        b = std::fabs(ratio) < 1 && std::isfinite(extrapolated) ? extrapolated : u2;
    }
    return std::nullopt;
}

// The slope where the iteration stopped, after the step `step`: it stands
// when the step is 0, or when the next update shows the steps shrinking
// (ratio below 1 in size) with the remaining distance to the fixed point,
// step2 / (1 - ratio), within the stopping step (relative below 1 in size).
// Otherwise the iteration stopped short, and the fixed point is sought.
double settledSlope(const std::function<double(double)>& update, double stopped, double step)
{
    if (step == 0)
        return stopped;
    const double step2 = update(stopped) - stopped, ratio = step2 / step;
    if (std::fabs(ratio) < 1 && std::fabs(step2 / (1 - ratio)) <= stoppingStep * std::min(1.0, std::fabs(stopped)))
        return stopped;
    return fixedPointFrom(update, stopped).value_or(stopped);
}

// Solves T(beta) = chi by bracketing between lo and hi. widenUp says which
// way the bracket grows when both ends lie on one side of chi (the upper
// limit's search doubles hi, the lower limit's halves it). Returns start when
// the tolerance is not met within the passes.
double bracketSearch(const std::function<double(double)>& T, double lo, double hi, double chi, double start,
                     bool widenUp)
{
    double Tlo = T(lo), Thi = T(hi);
    double mid = lo + (hi - lo) * 0.5;
    double Tmid = T(mid);
    for (int pass = 0; pass < searchPasses; ++pass) {
        if (std::fabs(Tmid - chi) < limitTolerance)
            return mid;
        if (Tlo < chi && Tmid > chi) {
            hi = mid;
            Thi = Tmid;
        } else if (Tmid < chi && Thi > chi) {
            lo = mid;
            Tlo = Tmid;
        } else if (Tlo < chi && Thi < chi) {
            lo = mid;
            Tlo = Tmid;
            hi = widenUp ? 2 * hi : 0.5 * hi;
            Thi = T(hi);
        } else if (Tlo > chi && Thi > chi) {
            hi = mid;
            Thi = Tmid;
            lo = widenUp ? 0.5 * lo : 2 * lo;
            Tlo = T(lo);
        } else {
            continue;
        }
        mid = lo + (hi - lo) * 0.5;
        Tmid = T(mid);
    }
    return start;
}
} // namespace

CommonSlope fitCommonSlope(const Estimator& estimator, const GroupMap& groups, AnalysisEvents& events)
{
    double syy = 0, sxx = 0, sxy = 0;
    for (const auto& entry : groups) {
        const Group& g = entry.second;
        syy += (g.n - 1) * g.SYY;
        sxx += (g.n - 1) * g.SXX;
        sxy += (g.n - 1) * g.SXY;
    }
    const auto update = [&](double b) { return commonSlopeUpdate(estimator, groups, b); };
    double b = estimator.slope(syy, sxx, sxy);
    for (int iteration = 1;; ++iteration) {
        const double next = update(b);
        const bool converged = std::fabs(b - next) < stoppingStep;
        if (converged)
            return {settledSlope(update, next, next - b), iteration};
        if (iteration == mostIterations) {
            events.slopesDidNotConverge(b, next);
            return {next, iteration};
        }
        b = next;
    }
}

double commonSlopeStatistic(const Estimator& estimator, const GroupMap& groups, double b)
{
    double T = 0;
    for (const auto& entry : groups) {
        const Group& g = entry.second;
        const double df = estimator.degreesOfFreedom(g.n);
        const AxisMoments at = estimator.axisMoments(g.SYY, g.SXX, g.SXY, b);
        T -= (df - 0.5) * std::log(1 - at.c * at.c / (at.r * at.f));
    }
    return T;
}

double hypothesisedSlopeStatistic(const Estimator& estimator, const GroupMap& groups, double b, double b0)
{
    double T = 0;
    for (const auto& entry : groups) {
        const Group& g = entry.second;
        const double df = estimator.degreesOfFreedom(g.n);
        const AxisMoments at = estimator.axisMoments(g.SYY, g.SXX, g.SXY, b);
        const AxisMoments at0 = estimator.axisMoments(g.SYY, g.SXX, g.SXY, b0);
        const double d = estimator.scale(b), d0 = estimator.scale(b0);
        T += (df - 0.5) * std::log((at0.f * at0.r / (d0 * d0)) / (at.f * at.r / (d * d)));
    }
    return T;
}

std::pair<double, double> commonSlopeLimits(const Estimator& estimator, const GroupMap& groups, double confidence,
                                            double b)
{
    double N = 0, Sxx = 0, Syy = 0, Sxy = 0;
    for (const auto& entry : groups) {
        N += entry.second.n;
        Sxx += entry.second.SXX;
        Syy += entry.second.SYY;
        Sxy += entry.second.SXY;
    }
    const int g = static_cast<int>(groups.size());
    const double alpha = alphaOf(confidence);
    const int dfF = static_cast<int>(N) - g - 1;
    const double F = fdistQinv(alpha, 1, dfF);
    const double B = F * (1 - Sxy * Sxy / (Sxx * Syy)) / dfF;
    const double s = Sxy < 0 ? -1 : 1;
    const double q = std::sqrt(Syy / Sxx);
    const double narrow = std::sqrt(B + 1) - std::sqrt(B), wide = std::sqrt(B + 1) + std::sqrt(B);
    const double hiF = std::max(narrow, wide), loF = std::min(narrow, wide);
    const double U0 = b + s * q * (hiF - 1);
    const double L0 = b - s * q * (1 - loF);
    const double chi = chisqQinv(alpha, 1);
    const auto T = [&](double beta) { return hypothesisedSlopeStatistic(estimator, groups, b, beta); };

    const double d = U0 / b - 1;
    const double upper = bracketSearch(T, U0 * (1 - d / 2), U0 * (1 + 2 * d), chi, U0, true);
    const double lower = bracketSearch(T, b, L0 + (L0 - b) * 0.5, chi, L0, false);
    return {lower, upper};
}

} // namespace korvel
