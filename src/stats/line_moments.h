// Means and (co)variances of groups of points, shared by the individual fits
// and the resampled fits of the common-slope test.
#pragma once

#include <algorithm>
#include <cstddef>

#include "SMAstats.h"

// A group's stored points.
struct StoredPoints {
    const summary_stats& g;
    std::size_t size() const { return g.X.size(); }
    void at(std::size_t i, double& x, double& y) const
    {
        x = g.X[i];
        y = g.Y[i];
    }
};

// A group's points rebuilt from its fitted-axis scores, its intercept a and
// the pooled residuals r (this group's share of the shuffled pool), at slope
// b, by method (0 OLS, 1 SMA, 2 MA). Each method gives back a point as it was
// when r is its own residual. The factors 0.5 / b and b^2 + 1 are taken once;
// they are the same numbers the expressions give point by point.
template <int Method>
struct ResampledPoints {
    ResampledPoints(const summary_stats& g, const double* pool, double slope)
        : F(g.fittedAxis.data()), r(pool), n(g.X.size()), a(g.interc), b(slope)
    {
    }
    const double* F;
    const double* r;
    std::size_t n;
    double a, b;
    double halfOverB = 0.5 / b;
    double scale = b * b + 1;
    std::size_t size() const { return n; }
    void at(std::size_t k, double& x, double& y) const
    {
        if constexpr (Method == 0) {
            x = F[k];
            y = b * F[k] + r[k] + a;
        } else if constexpr (Method == 1) {
            y = (F[k] + r[k] + a) * 0.5;
            x = halfOverB * (F[k] - r[k] - a);
        } else {
            y = (b * F[k] + r[k] + a) / scale;
            x = (F[k] - b * (r[k] + a)) / scale;
        }
    }
};

// Sums, then (centred) cross products, of one group's points.
struct Moments {
    double sx = 0, sy = 0;           // sums of x and y
    double mx = 0, my = 0;           // centre of the cross products (0 through the origin)
    double cxx = 0, cyy = 0, cxy = 0; // cross products about the centre

    void addSums(double x, double y)
    {
        sx += x;
        sy += y;
    }
    void centre(std::size_t n, bool centred)
    {
        if (centred) {
            mx = sx / static_cast<double>(n);
            my = sy / static_cast<double>(n);
        }
    }
    void addProducts(double x, double y)
    {
        const double dx = x - mx, dy = y - my;
        cxx += dx * dx;
        cyy += dy * dy;
        cxy += dx * dy;
    }
    // Stores means and (co)variances (divisor n - 1 when centred, n
    // otherwise) in the group, before any measurement-error correction.
    void store(summary_stats& g, bool centred) const
    {
        const double n = static_cast<double>(g.X.size());
        g.Xmean = sx / g.n;
        g.Ymean = sy / g.n;
        const double d = n - (centred ? 1.0 : 0.0);
        g.SXX = cxx / d;
        g.SYY = cyy / d;
        g.SXY = cxy / d;
    }
};

// Moments of the points of a and, when b is given, of b, in two passes (sums,
// then cross products). Each group's sums run in its points' order, so the
// values are those of sum() and variance() taken one by one; two groups are
// summed in lockstep so that their independent sums overlap in time.
template <typename Points>
void momentsOf(const Points& a, const Points* b, bool centred, Moments& resultA, Moments& resultB)
{
    // Local accumulators stay in registers; results are written once at the end.
    Moments ma = resultA, mb = resultB;
    const std::size_t na = a.size(), nb = b ? b->size() : 0, both = std::min(na, nb);
    // One pass over both groups: add(moments, x, y) for every point.
    const auto sweep = [&](auto add) {
        double x, y, xb, yb;
        for (std::size_t i = 0; i < both; ++i) {
            a.at(i, x, y);
            b->at(i, xb, yb);
            add(ma, x, y);
            add(mb, xb, yb);
        }
        for (std::size_t i = both; i < na; ++i) {
            a.at(i, x, y);
            add(ma, x, y);
        }
        for (std::size_t i = both; i < nb; ++i) {
            b->at(i, xb, yb);
            add(mb, xb, yb);
        }
    };
    sweep([](Moments& m, double x, double y) { m.addSums(x, y); });
    ma.centre(na, centred);
    mb.centre(nb, centred);
    sweep([](Moments& m, double x, double y) { m.addProducts(x, y); });
    resultA = ma;
    resultB = mb;
}

// Fits every group of the map from the points makePoints(group) gives: the
// moments of the groups two at a time, then the rest of each fit.
template <typename MakePoints>
void fitGroups(const SMAstats& st, GroupMap& grps, bool withAxes, bool centred, MakePoints makePoints)
{
    for (auto it = grps.begin(); it != grps.end(); ++it) {
        const auto next = std::next(it);
        const bool pair = next != grps.end();
        const auto pa = makePoints(it->second);
        Moments ma, mb;
        if (pair) {
            const auto pb = makePoints(next->second);
            momentsOf(pa, &pb, centred, ma, mb);
        } else {
            momentsOf(pa, static_cast<decltype(&pa)>(nullptr), centred, ma, mb);
        }
        ma.store(it->second, centred);
        st.fitFromMoments(it->second, withAxes);
        if (!pair)
            break;
        it = next;
        mb.store(it->second, centred);
        st.fitFromMoments(it->second, withAxes);
    }
}
