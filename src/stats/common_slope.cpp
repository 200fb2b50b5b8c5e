#include "stats/common_slope.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>

#include "stats/distributions.h"
#include "stats/resampling.h"

namespace korvel {

namespace {
// The common slope's iteration stops at the first step smaller than this, or
// gives up after this many iterations.
constexpr double stoppingStep = 0.0001;
constexpr int mostIterations = 200;

// The search for a fixed point: settled when an update moves the slope by at
// most this much (times the slope when it is above 1 in size); given up after
// this many updates.
constexpr double fixedPointTolerance = 1e-10;
constexpr int mostUpdates = 100000;

// The weight of a group in the update of the common slope at b: for OLS
// n / r(b), the maximum-likelihood weight of a group with its own residual
// variance (free of the units of X and Y); n (1/r + 1/f) for SMA and
// n (1/r - 1/f) for MA.
double commonSlopeWeight(Method method, double n, const AxisMoments& m)
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
        const double w =
            commonSlopeWeight(estimator.method, g.shapeSize, estimator.axisMoments(g.SYY, g.SXX, g.SXY, b));
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

// The rescue of an iteration that did not settle in its iterations, from its
// last two iterates b and next: Steffensen's method from next, then bisection
// of U(b) - b. A slope is accepted when one update moves it by at most the
// fixed-point tolerance (times the slope when it is above 1 in size).
constexpr int steffensenSteps = 100;
constexpr double steffensenStep = 1e-13;
constexpr int bracketWidenings = 40;
constexpr double bisectionWidth = 1e-15;

bool isFixedPoint(const std::function<double(double)>& update, double b)
{
    return std::fabs(update(b) - b) <= fixedPointTolerance * std::max(1.0, std::fabs(b));
}

// Steffensen's method: b <- b - (U(b) - b)^2 / (U(U(b)) - 2 U(b) + b), until a
// step below 1e-13 (relative above 1) or a value that is not finite, where the
// last finite slope stands.
double steffensen(const std::function<double(double)>& update, double b)
{
    for (int step = 0; step < steffensenSteps; ++step) {
        const double b1 = update(b), b2 = update(b1);
        const double next = b - (b1 - b) * (b1 - b) / (b2 - 2 * b1 + b);
        if (!std::isfinite(next))
            return b;
        const bool small = std::fabs(next - b) < steffensenStep * std::max(1.0, std::fabs(b));
        b = next;
        if (small)
            break;
    }
    return b;
}

// A root of U(b) - b between the two slopes: their interval, widened on both
// sides by a distance that starts at its width and doubles (at most 40 times)
// until U(b) - b changes sign over it, then halved to a width below 1e-15
// (relative above 1); its midpoint. Nothing when no change of sign is found.
std::optional<double> bisection(const std::function<double(double)>& update, double a, double b)
{
    const auto gap = [&](double x) { return update(x) - x; };
    double lo = std::min(a, b), hi = std::max(a, b);
    double glo = gap(lo), ghi = gap(hi);
    const auto straddles = [&] { return (glo <= 0 && ghi >= 0) || (glo >= 0 && ghi <= 0); };
    double widen = hi - lo;
    for (int k = 0; k < bracketWidenings && !straddles(); ++k) {
        lo -= widen;
        hi += widen;
        widen *= 2;
        glo = gap(lo);
        ghi = gap(hi);
    }
    if (!straddles())
        return std::nullopt;
    while (hi - lo >= bisectionWidth * std::max(1.0, std::fabs(lo))) {
        const double mid = lo + (hi - lo) * 0.5;
        if (mid <= lo || mid >= hi)
            break;
        const double gmid = gap(mid);
        if ((gmid <= 0) == (glo <= 0)) {
            lo = mid;
            glo = gmid;
        } else {
            hi = mid;
            ghi = gmid;
        }
    }
    return lo + (hi - lo) * 0.5;
}

// The fixed point near the last two iterates, when Steffensen's method or the
// bisection finds one that passes the test.
std::optional<double> rescuedSlope(const std::function<double(double)>& update, double last, double next)
{
    const double fromSteffensen = steffensen(update, next);
    if (std::isfinite(fromSteffensen) && isFixedPoint(update, fromSteffensen))
        return fromSteffensen;
    const std::optional<double> fromBisection = bisection(update, last, next);
    if (fromBisection && isFixedPoint(update, *fromBisection))
        return fromBisection;
    return std::nullopt;
}

// The search for a confidence limit of the common slope: from the estimate
// outward, first steps of this fraction of the slope's scale, each the last
// one times the growth; the crossing is then bisected to this relative width.
constexpr double firstStep = 1e-6;
constexpr double stepGrowth = 1.1;
constexpr double limitWidth = 1e-12;

// The nearest slope on one side of b where T reaches chi. slopeAt(t) walks
// away from b as t grows from 0; the walk ends, unbounded, where the slope is
// no longer finite or stops moving (the end of its range), and gives that end.
double nearestCrossing(const std::function<double(double)>& T, const std::function<double(double)>& slopeAt,
                       double chi)
{
    double tNear = 0, step = firstStep;
    for (;;) {
        const double t = tNear + step;
        const double beta = slopeAt(t);
        if (!std::isfinite(beta) || beta == slopeAt(tNear))
            return beta;
        if (T(beta) >= chi) {
            double lo = tNear, hi = t;
            for (;;) {
                const double a = slopeAt(lo), b = slopeAt(hi);
                if (std::fabs(b - a) <= limitWidth * std::max(std::fabs(a), std::fabs(b)))
                    return b;
                const double mid = lo + (hi - lo) * 0.5;
                if (mid <= lo || mid >= hi)
                    return b;
                (T(slopeAt(mid)) >= chi ? hi : lo) = mid;
            }
        }
        tNear = t;
        step *= stepGrowth;
    }
}
} // namespace

CommonSlope fitCommonSlope(const Estimator& estimator, const GroupMap& groups)
{
    double syy = 0, sxx = 0, sxy = 0;
    for (const auto& entry : groups) {
        const Group& g = entry.second;
        syy += (g.shapeSize - 1) * g.SYY;
        sxx += (g.shapeSize - 1) * g.SXX;
        sxy += (g.shapeSize - 1) * g.SXY;
    }
    const auto update = [&](double b) { return commonSlopeUpdate(estimator, groups, b); };
    double b = estimator.slope(syy, sxx, sxy);
    for (int iteration = 1;; ++iteration) {
        const double next = update(b);
        const bool converged = std::fabs(b - next) < stoppingStep;
        if (converged)
            return {settledSlope(update, next, next - b), iteration, true, false, b, next};
        if (iteration == mostIterations) {
            const std::optional<double> rescued = rescuedSlope(update, b, next);
            return {rescued.value_or(next), iteration, false, rescued.has_value(), b, next};
        }
        b = next;
    }
}

bool countsAsSettled(const CommonSlope& fit, int convergenceLimit)
{
    return fit.rescued || fit.iterations < convergenceLimit;
}

double commonSlopeStatistic(const Estimator& estimator, const GroupMap& groups, double b)
{
    double T = 0;
    for (const auto& entry : groups) {
        const Group& g = entry.second;
        const double df = estimator.degreesOfFreedom(g.shapeSize);
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
        const double df = estimator.degreesOfFreedom(g.shapeSize);
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
    const double chi = chisqQinv(alphaOf(confidence), 1);
    const auto T = [&](double beta) { return hypothesisedSlopeStatistic(estimator, groups, b, beta); };
    if (!std::isfinite(b) || !(chi >= 0))
        return {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN()};
    if (estimator.method == Method::SMA) {
        // Among slopes of b's sign: b e^t away from 0, b e^-t towards it.
        const double lowerFactor = b < 0 ? 1 : -1;
        const double lower = nearestCrossing(T, [&](double t) { return b * std::exp(lowerFactor * t); }, chi);
        const double upper = nearestCrossing(T, [&](double t) { return b * std::exp(-lowerFactor * t); }, chi);
        return {lower, upper};
    }
    // On the whole line, in steps of the slope's size (at least 1).
    const double scale = std::max(1.0, std::fabs(b));
    const double lower = nearestCrossing(T, [&](double t) { return b - t * scale; }, chi);
    const double upper = nearestCrossing(T, [&](double t) { return b + t * scale; }, chi);
    return {lower, upper};
}

double commonSlopePvalue(const Estimator& estimator, ErrorVariances errors, const GroupMap& groups, double b,
                         const AnalysisSettings& settings, AnalysisEvents& events, RandomStream& random)
{
    const double T0 = commonSlopeStatistic(estimator, groups, b);
    if (settings.pvalueFrom == PValueFrom::ChiSquared)
        return chisqQ(T0, static_cast<double>(groups.size()) - 1);
    const auto statisticOf = [&](const GroupMap& resample) -> std::optional<double> {
        const CommonSlope fit = fitCommonSlope(estimator, resample);
        if (!fit.settled())
            events.slopesDidNotConverge(fit.last, fit.next);
        if (!countsAsSettled(fit, settings.convergenceLimit()))
            return std::nullopt;
        return commonSlopeStatistic(estimator, resample, fit.slope);
    };
    return resamplingPvalue(estimator, errors, groups, b, T0, settings.iterations, statisticOf, events, random);
}

CommonSlopeTest testCommonSlope(const Estimator& estimator, ErrorVariances errors, const GroupMap& groups,
                                const AnalysisSettings& settings, AnalysisEvents& events, RandomStream& random)
{
    CommonSlopeTest test;
    for (const auto& entry : groups)
        test.points += entry.second.n;
    test.groups = static_cast<int>(groups.size());
    test.pvalueFrom = settings.pvalueFrom;
    test.iterations = settings.iterations;
    const CommonSlope fit = fitCommonSlope(estimator, groups);
    if (!fit.settled())
        events.commonSlopeDidNotSettle(groupNames(groups), fit.last, fit.next);
    test.slope = fit.slope;
    test.settled = fit.settled();
    test.statistic = commonSlopeStatistic(estimator, groups, test.slope);
    test.p = commonSlopePvalue(estimator, errors, groups, test.slope, settings, events, random);
    test.common = test.p > settings.criticalP;
    if (!test.common)
        return test;
    const auto [low, high] = commonSlopeLimits(estimator, groups, settings.confidence, test.slope);
    test.limits = Interval{low, high};
    if (settings.slopeH0) {
        const double T0 = hypothesisedSlopeStatistic(estimator, groups, test.slope, *settings.slopeH0);
        test.hypothesisedSlope = HypothesisTest{*settings.slopeH0, T0, chisqQ(T0, 1)};
    }
    return test;
}

} // namespace korvel
