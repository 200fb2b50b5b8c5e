// A group's location and scatter by Huber-type M-estimation: each point
// weighed by its Mahalanobis distance d from the location, so that a few wild
// points move neither. The lines and their tests then take these moments in
// the same formulas as the ordinary ones, with the group's effective sizes.
#pragma once

#include <array>
#include <vector>

namespace korvel {

// The robust location (means) and scatter ((co)variances) of a group's points,
// and the iterations they took.
struct RobustMoments {
    double xMean = 0, yMean = 0;
    double sxx = 0, syy = 0, sxy = 0;
    int iterations = 0;
};

// The M-estimate of the points: the location weight of a point min(1, c / d),
// its scatter weight min(1, c^2 / d^2) / beta, c^2 the 0.9 quantile of
// chi-squared with 2 degrees of freedom and beta the factor that makes the
// scatter the covariance at the bivariate normal. Iterated from the
// coordinatewise median and the ordinary covariance until the location and
// the scatter change by at most 1e-10 of their size; through the origin
// (centred false) the location stays 0 and the scatter is about the origin.
RobustMoments robustMoments(const std::vector<double>& x, const std::vector<double>& y, bool centred);

// Where the fits of many like samples (the resamples of one pool) begin: an
// estimate of one of them and the Newton matrix of the iteration there,
// (I - J)^-1 with J the Jacobian of one step (by differences). The plain steps
// gain a factor of about 4 each; Newton steps with this frozen matrix gain as
// much as the samples are alike, so a fit from it takes a few passes over the
// points instead of a dozen. The fixed point, and so the estimate to the same
// 1e-10, is that of robustMoments.
using NewtonMatrix = std::array<double, 25>; // row by row
struct RobustStart {
    RobustMoments estimate;
    NewtonMatrix newton{};
};
RobustStart robustStartAt(const RobustMoments& estimate, const std::vector<double>& x, const std::vector<double>& y,
                          bool centred);

// The estimate of the points from the start by Newton steps with its frozen
// matrix, each step visiting only the points near or beyond c while no other
// can have reached c. It stops where robustMoments does (a step that changes
// nothing by more than 1e-10 of its size), or after a Newton step when the
// change the last two steps' factor leaves is below that. Steps that do not
// shrink the change, a scatter that is not positive definite or a few steps
// without settling give robustMoments' own estimate instead.
RobustMoments robustMomentsFrom(const RobustStart& start, const std::vector<double>& x, const std::vector<double>& y,
                                bool centred);

// Whether the point's location weight is below 0.5 (d above 2c): a point the
// estimate all but sets aside.
bool isDownweighted(double x, double y, const RobustMoments& m);

// The asymptotic variance of the estimate relative to the ordinary one at the
// bivariate normal (derived in docs/methods.md): of the scatter's shape (the
// slopes, the correlation), sigma1 = 8 E[u(s)^2 s^2] / (8 + 2 E[u'(s) s^2])^2,
// and of the location, sigma0 = E[psi(r)^2] / (2 D^2), D = (E[psi'(r)] +
// E[psi(r) / r]) / 2, psi(r) = min(r, c). A group of n points weighs as
// n / sigma1 points in every test of a slope and as n / sigma0 in every test
// of a location (an intercept, a Wald test).
double shapeVarianceFactor();
double locationVarianceFactor();

} // namespace korvel
