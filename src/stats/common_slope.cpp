#include "stats/common_slope.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "stats/distributions.h"

namespace {
// Degrees of freedom of a group's line.
double degreesOfFreedom(const Estimator& estimator, const Group& g)
{
    return estimator.hasIntercept ? g.n - 2 : g.n - 1;
}

// Solves T(beta) = chi by bracketing between lo and hi. widenUp says which
// way the bracket grows when both ends lie on one side of chi (the upper
// limit's search doubles hi, the lower limit's halves it). Returns start when
// the tolerance is not met within 102 passes.
double bracketSearch(const std::function<double(double)>& T, double lo, double hi, double chi, double start,
                     bool widenUp)
{
    double Tlo = T(lo), Thi = T(hi);
    double mid = lo + (hi - lo) * 0.5;
    double Tmid = T(mid);
    for (int pass = 0; pass <= 101; ++pass) {
        if (std::fabs(Tmid - chi) < 0.01)
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

CommonSlope fitCommonSlope(const Estimator& estimator, const GroupMap& groups, int limit, AnalysisEvents& events)
{
    double syy = 0, sxx = 0, sxy = 0;
    for (const auto& entry : groups) {
        const Group& g = entry.second;
        syy += (g.n - 1) * g.SYY;
        sxx += (g.n - 1) * g.SXX;
        sxy += (g.n - 1) * g.SXY;
    }
    double b = estimator.slope(syy, sxx, sxy);
    for (int iteration = 1;; ++iteration) {
        double wyy = 0, wxx = 0, wxy = 0;
        for (const auto& entry : groups) {
            const Group& g = entry.second;
            const AxisMoments m = estimator.axisMoments(g.SYY, g.SXX, g.SXY, b);
            const double w = estimator.method == Method::MA ? g.n * (1 / m.r - 1 / m.f) : g.n * (1 / m.r + 1 / m.f);
            wyy += w * g.SYY;
            wxx += w * g.SXX;
            wxy += w * g.SXY;
        }
        const double next = estimator.slope(wyy, wxx, wxy);
        const bool converged = std::fabs(b - next) < 0.0001;
        if (converged || iteration == 200) {
            if (!converged)
                events.slopesDidNotConverge(b, next);
            return {next, limit > iteration};
        }
        b = next;
    }
}

double commonTestStatistic(const Estimator& estimator, const GroupMap& groups, double b, double b2)
{
    double T = 0;
    for (const auto& entry : groups) {
        const Group& g = entry.second;
        const double df = degreesOfFreedom(estimator, g);
        const AxisMoments at = estimator.axisMoments(g.SYY, g.SXX, g.SXY, b);
        if (b2 == 0.0) {
            T -= (df - 0.5) * std::log(1 - at.c * at.c / (at.r * at.f));
        } else {
            const AxisMoments at2 = estimator.axisMoments(g.SYY, g.SXX, g.SXY, b2);
            const double d = estimator.scale(b), d2 = estimator.scale(b2);
            T += (df - 0.5) * std::log((at2.f * at2.r / (d2 * d2)) / (at.f * at.r / (d * d)));
        }
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
    const double alpha = 1 - confidence / 100;
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
    const auto T = [&](double beta) { return commonTestStatistic(estimator, groups, b, beta); };

    const double d = U0 / b - 1;
    const double upper = bracketSearch(T, U0 * (1 - d / 2), U0 * (1 + 2 * d), chi, U0, true);
    const double lower = bracketSearch(T, b, L0 + (L0 - b) * 0.5, chi, L0, false);
    return {lower, upper};
}
