#include "stats/robust_moments.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <optional>

#include <gsl/gsl_cdf.h>
#include <gsl/gsl_linalg.h>
#include <gsl/gsl_matrix.h>
#include <gsl/gsl_permutation.h>

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

// The squared Mahalanobis distance under a scatter, its inverse's entries
// taken once: d^2 = xx dx^2 + 2 xy dx dy + yy dy^2, from the products.
struct InverseScatter {
    explicit InverseScatter(const RobustMoments& m)
    {
        const double det = m.sxx * m.syy - m.sxy * m.sxy;
        xx = m.syy / det;
        yy = m.sxx / det;
        twiceXy = -2 * m.sxy / det;
    }
    double squaredDistance(double dxdx, double dydy, double dxdy) const
    {
        return xx * dxdx + twiceXy * dxdy + yy * dydy;
    }
    double xx, yy, twiceXy;
};

// Weighted sums of the offsets from the current location and of their
// products.
struct WeightedSums {
    double w = 0, dx = 0, dy = 0, xx = 0, yy = 0, xy = 0;
    void add(double weight, double ox, double oy, double oxox, double oyoy, double oxoy)
    {
        w += weight;
        dx += weight * ox;
        dy += weight * oy;
        xx += weight * oxox;
        yy += weight * oyoy;
        xy += weight * oxoy;
    }
};

// The sums of one step over some of the points, their offsets about the
// location of the estimate the step starts from. The points within c of the
// location have both weights at their largest (1 and 1 / beta): their sums
// are kept apart, unweighted (inside.w counts them), and weighed once.
struct StepSums {
    WeightedSums inside, outside;                   // outside: scatter weights c^2 / d^2
    double location = 0, locationX = 0, locationY = 0; // location weights c / d beyond c
};

struct Offsets {
    double dx, dy, dxdx, dydy, dxdy;
};
Offsets offsetsOf(double x, double y, const RobustMoments& m)
{
    const double dx = x - m.xMean, dy = y - m.yMean;
    return {dx, dy, dx * dx, dy * dy, dx * dy};
}

void addPoint(StepSums& s, const Tuning& t, const Offsets& o, double d2)
{
    if (d2 <= t.c2) {
        s.inside.w += 1;
        s.inside.dx += o.dx;
        s.inside.dy += o.dy;
        s.inside.xx += o.dxdx;
        s.inside.yy += o.dydy;
        s.inside.xy += o.dxdy;
    } else {
        const double w1 = t.c / std::sqrt(d2);
        s.location += w1;
        s.locationX += w1 * o.dx;
        s.locationY += w1 * o.dy;
        s.outside.add(t.c2 / d2, o.dx, o.dy, o.dxdx, o.dydy, o.dxdy);
    }
}

// The estimate after the step from m whose sums over all n points are s: the
// weighted location and the weighted scatter about it (through the origin,
// about the origin).
RobustMoments nextEstimate(const RobustMoments& m, const StepSums& s, std::size_t n, bool centred)
{
    const double beta = tuning().beta;
    const WeightedSums& in = s.inside;
    const double sw = in.w + s.location, swx = in.dx + s.locationX, swy = in.dy + s.locationY;
    const double ws = (in.w + s.outside.w) / beta, wdx = (in.dx + s.outside.dx) / beta,
                 wdy = (in.dy + s.outside.dy) / beta;
    const double wxx = (in.xx + s.outside.xx) / beta, wyy = (in.yy + s.outside.yy) / beta,
                 wxy = (in.xy + s.outside.xy) / beta;
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

// One step from m over every point.
RobustMoments step(const std::vector<double>& x, const std::vector<double>& y, bool centred, const RobustMoments& m)
{
    const Tuning t = tuning();
    const InverseScatter inverse(m);
    StepSums s;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const Offsets o = offsetsOf(x[i], y[i], m);
        addPoint(s, t, o, inverse.squaredDistance(o.dxdx, o.dydy, o.dxdy));
    }
    return nextEstimate(m, s, x.size(), centred);
}

// The points split at the estimate `at` of a step: those well within c of its
// location (d^2 at most a share of c^2), whose sums are kept, and the indices
// of the others. While an estimate is near enough to `at` that no point well
// within c can reach c, a step from it need visit only the others.
constexpr double wellWithinShare = 0.9;
struct Band {
    RobustMoments at;
    WeightedSums wellWithin; // unweighted sums of offsets about at's location
    std::vector<std::size_t> others;
};

// A step from m over every point that records the band at m.
RobustMoments stepRecordingBand(const std::vector<double>& x, const std::vector<double>& y, bool centred,
                                const RobustMoments& m, Band& band)
{
    const Tuning t = tuning();
    const InverseScatter inverse(m);
    const double wellWithin = wellWithinShare * t.c2;
    band.at = m;
    band.wellWithin = {};
    band.others.clear(); // its room kept for the next step that records it
    StepSums s;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const Offsets o = offsetsOf(x[i], y[i], m);
        const double d2 = inverse.squaredDistance(o.dxdx, o.dydy, o.dxdy);
        if (d2 <= wellWithin) {
            band.wellWithin.add(1.0, o.dx, o.dy, o.dxdx, o.dydy, o.dxdy);
        } else {
            band.others.push_back(i);
            addPoint(s, t, o, d2);
        }
    }
    const WeightedSums& w = band.wellWithin;
    s.inside = {s.inside.w + w.w, s.inside.dx + w.dx, s.inside.dy + w.dy,
                s.inside.xx + w.xx, s.inside.yy + w.yy, s.inside.xy + w.xy};
    return nextEstimate(m, s, x.size(), centred);
}

// Whether no point well within c at the band's estimate can be beyond c at m.
// A point's offset u from the band's location has |u|^2 <= share c^2 under
// the band's scatter S0; under m's scatter S, |u - delta| <= |u| + |delta|
// and |u|^2 <= lambda |u|^2 under S0, lambda the largest eigenvalue of
// S0 S^-1 (delta the move of the location).
bool bandHolds(const Band& band, const RobustMoments& m)
{
    const RobustMoments& a = band.at;
    const double det = m.sxx * m.syy - m.sxy * m.sxy;
    // S0 S^-1, S^-1 = [syy, -sxy; -sxy, sxx] / det.
    const double p11 = (a.sxx * m.syy - a.sxy * m.sxy) / det, p22 = (a.syy * m.sxx - a.sxy * m.sxy) / det;
    const double trace = p11 + p22, detP = (a.sxx * a.syy - a.sxy * a.sxy) / det;
    const double lambda = trace / 2 + std::sqrt(std::max(0.0, trace * trace / 4 - detP));
    const double dx = m.xMean - a.xMean, dy = m.yMean - a.yMean;
    const double move = std::sqrt(InverseScatter(m).squaredDistance(dx * dx, dy * dy, dx * dy));
    constexpr double roundingMargin = 1e-9;
    return std::sqrt(lambda * wellWithinShare * tuning().c2) + move <= tuning().c * (1 - roundingMargin);
}

// A step from m visiting only the band's other points, the sums of those
// well within c moved to m's location; none when the band no longer holds.
std::optional<RobustMoments> stepWithBand(const std::vector<double>& x, const std::vector<double>& y, bool centred,
                                          const RobustMoments& m, const Band& band)
{
    if (!bandHolds(band, m))
        return std::nullopt;
    const Tuning t = tuning();
    const InverseScatter inverse(m);
    StepSums s;
    // The offsets about m's location: each less the move (dx, dy).
    const WeightedSums& w = band.wellWithin;
    const double dx = m.xMean - band.at.xMean, dy = m.yMean - band.at.yMean;
    s.inside = {w.w, w.dx - w.w * dx, w.dy - w.w * dy, w.xx - 2 * dx * w.dx + w.w * dx * dx,
                w.yy - 2 * dy * w.dy + w.w * dy * dy, w.xy - dx * w.dy - dy * w.dx + w.w * dx * dy};
    for (const std::size_t i : band.others) {
        const Offsets o = offsetsOf(x[i], y[i], m);
        addPoint(s, t, o, inverse.squaredDistance(o.dxdx, o.dydy, o.dxdy));
    }
    return nextEstimate(m, s, x.size(), centred);
}

bool positiveDefinite(const RobustMoments& m)
{
    return m.sxx * m.syy - m.sxy * m.sxy > 0 && m.sxx > 0;
}

// The estimate as a vector (means, variances, covariance), and the size each
// entry's change is measured against.
using Parameters = std::array<double, 5>;
Parameters parametersOf(const RobustMoments& m)
{
    return {m.xMean, m.yMean, m.sxx, m.syy, m.sxy};
}
RobustMoments momentsOf(const Parameters& p, int iterations)
{
    return {p[0], p[1], p[2], p[3], p[4], iterations};
}
Parameters sizesOf(const RobustMoments& m)
{
    const double sdx = std::sqrt(m.sxx), sdy = std::sqrt(m.syy);
    return {sdx, sdy, m.sxx, m.syy, sdx * sdy};
}

// Whether no entry of the step from a to b changed by more than the
// tolerance of its size.
bool settled(const RobustMoments& a, const RobustMoments& b)
{
    const Parameters pa = parametersOf(a), pb = parametersOf(b), size = sizesOf(b);
    for (std::size_t k = 0; k < pa.size(); ++k)
        if (!(std::fabs(pb[k] - pa[k]) <= relativeChange * size[k]))
            return false;
    return true;
}

// The largest change of a step from a to b, each entry relative to its size.
double largestRelativeChange(const RobustMoments& a, const RobustMoments& b)
{
    const Parameters pa = parametersOf(a), pb = parametersOf(b), size = sizesOf(b);
    double largest = 0;
    for (std::size_t k = 0; k < pa.size(); ++k)
        largest = std::max(largest, std::fabs(pb[k] - pa[k]) / size[k]);
    return largest;
}

// The Newton step from m, whose plain step went to next: m + N (next - m).
RobustMoments newtonStep(const NewtonMatrix& newton, const RobustMoments& m, const RobustMoments& next)
{
    const Parameters from = parametersOf(m), to = parametersOf(next);
    Parameters result = from;
    for (std::size_t i = 0; i < result.size(); ++i)
        for (std::size_t j = 0; j < result.size(); ++j)
            result[i] += newton[i * result.size() + j] * (to[j] - from[j]);
    return momentsOf(result, next.iterations);
}

// The inverse of a 5 x 5 matrix (row by row), or the identity when it is
// singular.
NewtonMatrix inverseOf(NewtonMatrix a)
{
    NewtonMatrix inverse{};
    std::size_t order[5];
    gsl_permutation permutation{5, order};
    gsl_matrix_view matrix = gsl_matrix_view_array(a.data(), 5, 5);
    gsl_matrix_view result = gsl_matrix_view_array(inverse.data(), 5, 5);
    int sign = 0;
    if (gsl_linalg_LU_decomp(&matrix.matrix, &permutation, &sign) != 0 ||
        gsl_linalg_LU_invert(&matrix.matrix, &permutation, &result.matrix) != 0 ||
        !std::all_of(inverse.begin(), inverse.end(), [](double v) { return std::isfinite(v); })) {
        inverse = {};
        for (std::size_t k = 0; k < 5; ++k)
            inverse[k * 5 + k] = 1;
    }
    return inverse;
}

// Steps from m until they settle (or the scatter stops being positive definite).
RobustMoments iterate(const std::vector<double>& x, const std::vector<double>& y, bool centred, RobustMoments m)
{
    for (int k = 0; k < mostIterations; ++k) {
        const RobustMoments next = step(x, y, centred, m);
        const bool done = settled(m, next);
        m = next;
        if (done || !positiveDefinite(m))
            break;
    }
    return m;
}
} // namespace

RobustMoments robustMoments(const std::vector<double>& x, const std::vector<double>& y, bool centred)
{
    RobustMoments m;
    m.sxx = covarianceOf(x, x, centred);
    m.syy = covarianceOf(y, y, centred);
    m.sxy = covarianceOf(x, y, centred);
    const bool singular = !positiveDefinite(m);
    if (centred) {
        // Points on one line have no scatter to weigh them by: their moments stay the ordinary ones.
        m.xMean = singular ? sumOf(x) / static_cast<double>(x.size()) : median(x);
        m.yMean = singular ? sumOf(y) / static_cast<double>(y.size()) : median(y);
    }
    return singular ? m : iterate(x, y, centred, m);
}

RobustStart robustStartAt(const RobustMoments& estimate, const std::vector<double>& x, const std::vector<double>& y,
                          bool centred)
{
    // J by forward differences of one step, each entry moved by a millionth
    // of its size; through the origin the location stays 0 and has no column.
    constexpr double relativeMove = 1e-6;
    const Parameters at = parametersOf(estimate), size = sizesOf(estimate);
    const Parameters base = parametersOf(step(x, y, centred, estimate));
    NewtonMatrix identityLessJ{};
    for (std::size_t j = centred ? 0 : 2; j < at.size(); ++j) {
        Parameters moved = at;
        moved[j] += relativeMove * size[j];
        const Parameters stepped = parametersOf(step(x, y, centred, momentsOf(moved, 0)));
        for (std::size_t i = 0; i < at.size(); ++i)
            identityLessJ[i * 5 + j] = -(stepped[i] - base[i]) / (moved[j] - at[j]);
    }
    for (std::size_t k = 0; k < 5; ++k)
        identityLessJ[k * 5 + k] += 1;
    return {estimate, inverseOf(identityLessJ)};
}

RobustMoments robustMomentsFrom(const RobustStart& start, const std::vector<double>& x, const std::vector<double>& y,
                                bool centred)
{
    // Newton steps that do not settle in a few are not working: the samples
    // are not alike enough, or the scatter is nearly singular.
    constexpr int newtonStepsAtMost = 8;
    RobustMoments m = start.estimate;
    m.iterations = 0;
    double lastChange = std::numeric_limits<double>::infinity();
    Band band;
    for (int k = 0; k < newtonStepsAtMost && positiveDefinite(m); ++k) {
        const std::optional<RobustMoments> fromBand = k > 0 ? stepWithBand(x, y, centred, m, band) : std::nullopt;
        const RobustMoments next = fromBand ? *fromBand : stepRecordingBand(x, y, centred, m, band);
        if (!positiveDefinite(next))
            break;
        if (settled(m, next))
            return next;
        const double change = largestRelativeChange(m, next);
        if (!(change < lastChange))
            break;
        const RobustMoments candidate = newtonStep(start.newton, m, next);
        // Newton steps shrink the change by a steady factor, measured from the
        // last two: once the change left after this one is below the
        // tolerance, it is the estimate.
        if (k > 0 && positiveDefinite(candidate) && change * (change / lastChange) <= relativeChange)
            return candidate;
        lastChange = change;
        m = candidate;
    }
    return robustMoments(x, y, centred);
}

bool isDownweighted(double x, double y, const RobustMoments& m)
{
    const double dx = x - m.xMean, dy = y - m.yMean;
    return locationWeight(InverseScatter(m).squaredDistance(dx * dx, dy * dy, dx * dy)) < 0.5;
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
