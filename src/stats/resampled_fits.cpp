#include "stats/resampled_fits.h"

#include "stats/axis_scores.h"
#include "stats/line_fits.h"
#include "stats/moments.h"

namespace korvel {

ResamplingPool resamplingPool(const Estimator& estimator, const GroupMap& groups, double b)
{
    ResamplingPool pool;
    pool.b = b;
    for (const auto& entry : groups) {
        const Group& g = entry.second;
        GroupScores scores = scoresAt(estimator, g, b);
        const double interc = estimator.intercept(g.Ymean, g.Xmean, b);
        for (double r : scores.residual)
            pool.residuals.push_back(r - interc);
        pool.parts.push_back({std::move(scores.fitted), interc, std::nullopt});
    }
    return pool;
}

namespace {
// A group's points rebuilt from its part of the pool (fitted-axis scores F,
// intercept a) and its share r of the shuffled residuals, at the pool's slope
// (its factors taken once).
template <Method M>
struct ResampledPoints {
    ResampledPoints(const ResamplingPool::Part& part, const double* share, double slope)
        : F(part.fitted.data()), r(share), n(part.fitted.size()), a(part.interc), factors(slope)
    {
    }
    const double* F;
    const double* r;
    std::size_t n;
    double a;
    SlopeFactors factors;
    std::size_t size() const { return n; }
    void at(std::size_t k, double& x, double& y) const { pointOfScores<M>(factors, F[k], r[k], a, x, y); }
};

// Pools up to this many points are rebuilt into the copy's X and Y and fitted
// from there: the data stay in the processor's cache, and the rebuild runs in
// vector instructions. Larger pools are fitted from points rebuilt on the fly
// in both passes, which reads half as much memory. Both give the same numbers.
constexpr std::size_t largestStoredPool = std::size_t(1) << 18;

// Rebuilds the points of group g from its part of the pool and its share of
// the shuffled residuals (advanced past them).
template <Method M>
void rebuildPoints(const ResamplingPool& pool, const ResamplingPool::Part& part, const double*& share, Group& g)
{
    const ResampledPoints<M> points(part, share, pool.b);
    double* __restrict X = g.X.data();
    double* __restrict Y = g.Y.data();
    for (std::size_t i = 0; i < points.size(); ++i)
        points.at(i, X[i], Y[i]);
    share += points.size();
}

// Robust moments weigh the points as they are: they are always rebuilt. A
// group's first resample is fitted from the median; in a large group the
// later ones, alike but for the shuffle, begin at its estimate with its Newton
// matrix (the resamples of a small group differ too much for it to help).
constexpr std::size_t smallestNewtonGroup = 1000;

template <Method M>
void refitRobustly(const Estimator& estimator, ErrorVariances errors, ResamplingPool& pool, GroupMap& copy)
{
    const double* share = pool.residuals.data();
    std::size_t k = 0;
    for (auto& entry : copy) {
        ResamplingPool::Part& part = pool.parts[k++];
        Group& g = entry.second;
        rebuildPoints<M>(pool, part, share, g);
        const bool centred = estimator.hasIntercept;
        RobustMoments m;
        if (part.robustStart) {
            m = robustMomentsFrom(*part.robustStart, g.X, g.Y, centred);
        } else {
            m = robustMoments(g.X, g.Y, centred);
            if (g.X.size() >= smallestNewtonGroup)
                part.robustStart = robustStartAt(m, g.X, g.Y, centred);
        }
        fitRobustMoments(estimator, errors, g, m);
    }
}

template <Method M>
void refitWith(const Estimator& estimator, ErrorVariances errors, ResamplingPool& pool, GroupMap& copy)
{
    if (estimator.robust) {
        refitRobustly<M>(estimator, errors, pool, copy);
        return;
    }
    const double* share = pool.residuals.data();
    if (pool.residuals.size() <= largestStoredPool) {
        std::size_t k = 0;
        for (auto& entry : copy)
            rebuildPoints<M>(pool, pool.parts[k++], share, entry.second);
        fitLines(estimator, errors, copy);
        return;
    }
    std::size_t k = 0;
    storeMoments(copy, estimator.hasIntercept, [&](const Group&) {
        const ResampledPoints<M> points(pool.parts[k++], share, pool.b);
        share += points.size();
        return points;
    });
    for (auto& entry : copy)
        fitFromMoments(estimator, errors, entry.second);
}
} // namespace

void refitResampled(const Estimator& estimator, ErrorVariances errors, ResamplingPool& pool, GroupMap& copy)
{
    if (estimator.method == Method::OLS)
        refitWith<Method::OLS>(estimator, errors, pool, copy);
    else if (estimator.method == Method::SMA)
        refitWith<Method::SMA>(estimator, errors, pool, copy);
    else
        refitWith<Method::MA>(estimator, errors, pool, copy);
}

} // namespace korvel
