// Means and (co)variances of the points of groups, in two passes (sums, then
// cross products about the means). Each group's sums run in its points'
// order, so the values are those of sumOf() and covarianceOf() taken one by one.
// Two groups are summed in lockstep, so that their independent chains of
// additions overlap in time: the resampling refits millions of points and
// spends its time here.
#pragma once

#include <algorithm>
#include <cstddef>
#include <iterator>

#include "stats/group.h"

namespace korvel {

// A group's stored points.
struct StoredPoints {
    const Group& g;
    std::size_t size() const { return g.X.size(); }
    void at(std::size_t i, double& x, double& y) const
    {
        x = g.X[i];
        y = g.Y[i];
    }
};

// Sums, then (centred) cross products, of one group's points.
struct Moments {
    double sx = 0, sy = 0;            // sums of x and y
    double mx = 0, my = 0;            // centre of the cross products (0 through the origin)
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
    // Stores the means and the (co)variances (divisor n - 1 when centred, n
    // otherwise) in the group, before any measurement-error correction.
    void store(Group& g, bool centred) const
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

// Moments of the points of a and, when b is given, of b.
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

// Stores in every group of the map the moments of the points pointsOf(group)
// gives, two groups at a time, in map order.
template <typename PointsOf>
void storeMoments(GroupMap& groups, bool centred, PointsOf pointsOf)
{
    for (auto it = groups.begin(); it != groups.end(); ++it) {
        const auto next = std::next(it);
        const auto pa = pointsOf(it->second);
        Moments ma, mb;
        if (next == groups.end()) {
            momentsOf(pa, static_cast<decltype(&pa)>(nullptr), centred, ma, mb);
            ma.store(it->second, centred);
            return;
        }
        const auto pb = pointsOf(next->second);
        momentsOf(pa, &pb, centred, ma, mb);
        ma.store(it->second, centred);
        it = next;
        mb.store(it->second, centred);
    }
}

} // namespace korvel
