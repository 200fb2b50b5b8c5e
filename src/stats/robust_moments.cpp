#include "stats/robust_moments.h"

#include <algorithm>
#include <cmath>

#include <gsl/gsl_cdf.h>

#include "stats/estimators.h"

namespace korvel {

namespace {
// The tuning of the weights: c^2 the 0.9 quantile of chi-squared with two
// degrees of freedom, so that a tenth of the points of a bivariate normal lie
// beyond d = c, and the iteration's limits.
constexpr double outsideShare = 0.1;
constexpr double relativeChange = 1e-10;
constexpr int mostIterations = 1000;

struct Tuning {
    double c2, c, beta;
};

// For d^2 ~ chi-squared(2), P(d^2 > c^2) = exp(-c^2 / 2) = the share outside,
// and E[min(d^2, c^2)] = 2 (1 - that share): beta = E[min(d^2, c^2)] / 2
// makes the scatter the covariance at the bivariate normal.
const Tuning& tuning()
{
    static const Tuning t = [] {
        const double c2 = gsl_cdf_chisq_Qinv(outsideShare, 2);
        return Tuning{c2, std::sqrt(c2), 1 - gsl_cdf_chisq_Q(c2, 2)};
    }();
    return t;
}

double median(std::vector<double> v)
{
    const std::size_t half = v.size() / 2;
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(half), v.end());
    const double upper = v[half];
    if (v.size() % 2 == 1)
        return upper;
    return (*std::max_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(half)) + upper) / 2;
}

// The weights of a point at squared distance d2: location min(1, c / d),
// scatter min(1, c^2 / d^2) / beta.
double locationWeight(double d2)
{
    return d2 <= tuning().c2 ? 1.0 : tuning().c / std::sqrt(d2);
}
double scatterWeight(double d2)
{
    return (d2 <= tuning().c2 ? 1.0 : tuning().c2 / d2) / tuning().beta;
}

// The squared Mahalanobis distance of (dx, dy) under the scatter of m.
double squaredDistance(const RobustMoments& m, double dx, double dy)
{
    const double det = m.sxx * m.syy - m.sxy * m.sxy;
    return (m.syy * dx * dx - 2 * m.sxy * dx * dy + m.sxx * dy * dy) / det;
}

// One step: the weights at m, then the weighted location and the weighted
// scatter about it (through the origin, about the origin).
RobustMoments step(const std::vector<double>& x, const std::vector<double>& y, bool centred, const RobustMoments& m)
{
    const std::size_t n = x.size();
    double sw = 0, swx = 0, swy = 0;       // location weights
    double ws = 0, wdx = 0, wdy = 0;       // scatter weights, and their sums of (x - m), (y - m)
    double wxx = 0, wyy = 0, wxy = 0;      // scatter-weighted products about m
    for (std::size_t i = 0; i < n; ++i) {
        const double dx = x[i] - m.xMean, dy = y[i] - m.yMean;
        const double d2 = squaredDistance(m, dx, dy);
        const double w1 = locationWeight(d2), w2 = scatterWeight(d2);
        sw += w1;
        swx += w1 * dx;
        swy += w1 * dy;
        ws += w2;
        wdx += w2 * dx;
        wdy += w2 * dy;
        wxx += w2 * dx * dx;
        wyy += w2 * dy * dy;
        wxy += w2 * dx * dy;
    }
    RobustMoments next = m;
    // The products about the new location: shifted by it from those about m.
    const double sx = centred ? swx / sw : 0, sy = centred ? swy / sw : 0;
    next.xMean = m.xMean + sx;
    next.yMean = m.yMean + sy;
    next.sxx = (wxx - 2 * sx * wdx + ws * sx * sx) / static_cast<double>(n);
    next.syy = (wyy - 2 * sy * wdy + ws * sy * sy) / static_cast<double>(n);
    next.sxy = (wxy - sx * wdy - sy * wdx + ws * sx * sy) / static_cast<double>(n);
    next.iterations = m.iterations + 1;
    return next;
}

bool settled(const RobustMoments& a, const RobustMoments& b)
{
    const auto small = [](double change, double size) { return std::fabs(change) <= relativeChange * size; };
    const double sdx = std::sqrt(b.sxx), sdy = std::sqrt(b.syy);
    return small(b.xMean - a.xMean, sdx) && small(b.yMean - a.yMean, sdy) && small(b.sxx - a.sxx, b.sxx) &&
           small(b.syy - a.syy, b.syy) && small(b.sxy - a.sxy, sdx * sdy);
}
} // namespace

RobustMoments robustMoments(const std::vector<double>& x, const std::vector<double>& y, bool centred)
{
    RobustMoments m;
    m.sxx = covarianceOf(x, x, centred);
    m.syy = covarianceOf(y, y, centred);
    m.sxy = covarianceOf(x, y, centred);
    const bool singular = !(m.sxx * m.syy - m.sxy * m.sxy > 0);
    if (centred) {
        // Points on one line have no scatter to weigh them by: their moments stay the ordinary ones.
        m.xMean = singular ? sumOf(x) / static_cast<double>(x.size()) : median(x);
        m.yMean = singular ? sumOf(y) / static_cast<double>(y.size()) : median(y);
    }
    if (singular)
        return m;
    for (int k = 0; k < mostIterations; ++k) {
        const RobustMoments next = step(x, y, centred, m);
        const bool done = settled(m, next);
        m = next;
        if (done || !(m.sxx * m.syy - m.sxy * m.sxy > 0))
            break;
    }
    return m;
}

bool isDownweighted(double x, double y, const RobustMoments& m)
{
    return locationWeight(squaredDistance(m, x - m.xMean, y - m.yMean)) < 0.5;
}

double shapeVarianceFactor()
{
    // s = d^2 ~ chi-squared(2), e = P(s > c^2); u(s) = min(1, c^2 / s) / beta.
    // E[min(s, c^2)^2] = 8 - e (4 c^2 + 8); E[u'(s) s^2] = -(c^2 / beta) e.
    const Tuning& t = tuning();
    const double e = 1 - t.beta;
    const double uSquaredS2 = (8 - e * (4 * t.c2 + 8)) / (t.beta * t.beta);
    const double uPrimeS2 = -(t.c2 / t.beta) * e;
    const double denominator = 8 + 2 * uPrimeS2;
    return 8 * uSquaredS2 / (denominator * denominator);
}

double locationVarianceFactor()
{
    // r = d ~ Rayleigh, psi(r) = min(r, c): E[psi^2] = 2 beta, E[psi'] = beta,
    // E[psi / r] = beta + c sqrt(2 pi) P(N(0, 1) > c).
    const Tuning& t = tuning();
    const double psiOverR = t.beta + t.c * std::sqrt(2 * M_PI) * gsl_cdf_ugaussian_Q(t.c);
    const double D = (t.beta + psiOverR) / 2;
    return 2 * t.beta / (2 * D * D);
}

} // namespace korvel
