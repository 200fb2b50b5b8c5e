#include "stats/resampled_fits.h"

#include "stats/line_fits.h"
#include "stats/moments.h"

namespace {
// A group's points rebuilt from its fitted-axis scores F, its intercept a and
// its share r of the shuffled pool, at slope b (the slope's factors taken once).
template <Method M>
struct ResampledPoints {
    ResampledPoints(const Group& g, const double* pool, double slope)
        : F(g.fittedAxis.data()), r(pool), n(g.X.size()), a(g.interc), factors(slope)
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
const std::size_t largestStoredPool = std::size_t(1) << 18;

template <Method M>
void refitWith(const Estimator& estimator, ErrorVariances errors, GroupMap& copy, const std::vector<double>& R,
               double b)
{
    std::size_t offset = 0;
    if (R.size() <= largestStoredPool) {
        for (auto& entry : copy) {
            Group& g = entry.second;
            const ResampledPoints<M> points(g, R.data() + offset, b);
            double* __restrict X = g.X.data();
            double* __restrict Y = g.Y.data();
            for (std::size_t k = 0; k < points.size(); ++k)
                points.at(k, X[k], Y[k]);
            offset += g.X.size();
        }
        fitLines(estimator, errors, copy, false);
        return;
    }
    storeMoments(copy, estimator.hasIntercept, [&](const Group& g) {
        const ResampledPoints<M> points(g, R.data() + offset, b);
        offset += g.X.size();
        return points;
    });
    for (auto& entry : copy)
        fitFromMoments(estimator, errors, entry.second, false);
}
} // namespace

void refitResampled(const Estimator& estimator, ErrorVariances errors, GroupMap& copy, const std::vector<double>& R,
                    double b)
{
    if (estimator.method == Method::OLS)
        refitWith<Method::OLS>(estimator, errors, copy, R, b);
    else if (estimator.method == Method::SMA)
        refitWith<Method::SMA>(estimator, errors, copy, R, b);
    else
        refitWith<Method::MA>(estimator, errors, copy, R, b);
}
