// Fitting one line to each group, with its confidence limits.
#include <algorithm>
#include <cmath>

#include "SMAstats.h"
#include "distributions.h"
#include "line_fits.h"
#include "line_moments.h"

void SMAstats::fit_individual(profile& prof)
{
    fit_lines(groups, true);
    fit_CIs(groups, static_cast<double>(prof.conf_level));
}

void SMAstats::fit_lines(GroupMap& grps, bool withAxes) const
{
    fitGroups(*this, grps, withAxes, intercept == 1, [](const summary_stats& g) { return StoredPoints{g}; });
}

void SMAstats::fitFromMoments(summary_stats& g, bool withAxes) const
{
    const bool hasIntercept = intercept == 1;
    const int n = g.n;
    g.SXX -= measErrX;
    g.SYY -= measErrY;
    g.R2 = g.SXY * g.SXY / (g.SYY * g.SXX);
    g.slope = B_est(g.SYY, g.SXX, g.SXY);
    if (withAxes) {
        g.interc = hasIntercept ? g.Ymean - g.slope * g.Xmean : 0;
        for (int i = 0; i < n; ++i) {
            const std::size_t k = static_cast<std::size_t>(i);
            g.residAxis[k] = residual_axis(g.Y[k], g.X[k], g.slope);
            g.fittedAxis[k] = fitted_axis(g.Y[k], g.X[k], g.slope);
        }
    }
    g.varFitted = var_fitted(g.SYY, g.SXX, g.SXY, g.slope, n, hasIntercept);
    g.varResid = var_resid(g.SYY, g.SXX, g.SXY, g.slope, n, hasIntercept);
    g.covarRF = covar_rf(g.SYY, g.SXX, g.SXY, g.slope, n, hasIntercept);
    g.varSlope = var_slope(g.SYY, g.SXX, g.SXY, g.varFitted, g.varResid, g.slope, n);
}

double correlationPvalue(const summary_stats& g)
{
    const double b0 = g.SXY / g.SXX;
    const double a0 = g.Ymean - b0 * g.Xmean;
    double SST = 0, SSR = 0;
    for (std::size_t i = 0; i < g.Y.size(); ++i) {
        SST += (g.Y[i] - g.Ymean) * (g.Y[i] - g.Ymean);
        const double fitted = b0 * g.X[i] + a0 - g.Ymean;
        SSR += fitted * fitted;
    }
    const double SSE = SST - SSR;
    const double F = SSR / (SSE / (g.n - 2));
    return fdistQ(F, 1, g.n - 2);
}

std::pair<double, double> slopeLimits(int method, const summary_stats& g, double alpha, double df)
{
    if (method == 0) {
        const double h = std::sqrt(g.varSlope) * tdistPinv(1 - alpha / 2, df);
        return {g.slope - h, g.slope + h};
    }
    if (method == 1) {
        const double B = (1 - g.R2) / df * fdistPinv(1 - alpha, 1, df);
        const double l1 = g.slope * (std::sqrt(B + 1) - std::sqrt(B));
        const double l2 = g.slope * (std::sqrt(B + 1) + std::sqrt(B));
        return {l2 < l1 ? l2 : l1, l2 > l1 ? l2 : l1};
    }
    const double Q = (g.SXX * g.SYY - g.SXY * g.SXY) / df * fdistPinv(1 - alpha, 1, df);
    const double spread = g.SYY - g.SXX;
    const double D = spread + std::sqrt(spread * spread + 4 * g.SXY * g.SXY - 4 * Q);
    return {D / (2 * (g.SXY + std::sqrt(Q))), D / (2 * (g.SXY - std::sqrt(Q)))};
}

int printDecimals(int current, double value)
{
    if (value == 0 || !std::isfinite(value))
        return current;
    return std::max(current, static_cast<int>(std::trunc(4 - std::log10(std::fabs(value)))));
}

void SMAstats::fit_CIs(GroupMap& grps, double confPercent)
{
    slopeDecimals = 0;
    intercDecimals = 0;
    const double alpha = 1 - confPercent / 100;
    for (auto& entry : grps) {
        summary_stats& g = entry.second;
        const int n = g.n;
        g.p = correlationPvalue(g);
        const double df = intercept == 1 ? n - 2 : n - 1;
        const auto limits = slopeLimits(method, g, alpha, df);
        g.slopeLowCI = limits.first;
        g.slopeUppCI = limits.second;
        if (intercept == 1) {
            g.varInterc = g.Xmean * g.Xmean * g.varSlope + g.varResid / n;
            const double h = std::sqrt(g.varInterc) * tdistPinv(1 - alpha / 2, n - 2);
            g.intercLowCI = g.interc - h;
            g.intercUppCI = g.interc + h;
        } else {
            g.varInterc = 0;
            g.intercLowCI = 0;
            g.intercUppCI = 0;
        }
        intercDecimals = printDecimals(intercDecimals, g.interc);
        slopeDecimals = printDecimals(slopeDecimals, g.slope);
    }
}
