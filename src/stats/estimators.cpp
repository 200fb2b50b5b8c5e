#include "stats/estimators.h"

#include <algorithm>
#include <cmath>

namespace korvel {

int signOf(double v)
{
    return v < 0 ? -1 : 1;
}

double sumOf(const std::vector<double>& v)
{
    double total = 0;
    for (double x : v)
        total += x;
    return total;
}

double sumOfProducts(const std::vector<double>& x, const std::vector<double>& y, bool centred)
{
    const std::size_t n = x.size();
    double mx = 0, my = 0;
    if (centred) {
        mx = sumOf(x) / static_cast<double>(n);
        my = sumOf(y) / static_cast<double>(n);
    }
    double total = 0;
    for (std::size_t i = 0; i < n; ++i)
        total += (x[i] - mx) * (y[i] - my);
    return total;
}

double covarianceOf(const std::vector<double>& x, const std::vector<double>& y, bool centred)
{
    const double d = static_cast<double>(x.size()) - (centred ? 1.0 : 0.0);
    return sumOfProducts(x, y, centred) / d;
}

double varianceOf(const std::vector<double>& v, bool centred)
{
    return covarianceOf(v, v, centred);
}

double unexplainedShare(double r2)
{
    return std::max(0.0, 1 - r2);
}

double alphaOf(double confidence)
{
    return 1 - confidence / 100;
}

// Intercept correction factor K(n) = (n - 1) / (n - 2), as a real number: it
// turns a moment with divisor n - 1 into one with the n - 2 degrees of freedom
// of a line with an intercept (the residual variance SSE / (n - 2)). Every
// group that reaches a fit has n >= 3 (groups without a residual degree of
// freedom are removed first).
static double interceptFactor(double n)
{
    return (n - 1) / (n - 2);
}

double Estimator::slope(double SYY, double SXX, double SXY) const
{
    if (method == Method::OLS)
        return SXY / SXX;
    if (method == Method::SMA)
        return signOf(SXY) * std::sqrt(SYY / SXX);
    return ((SYY - SXX) + std::sqrt((SYY - SXX) * (SYY - SXX) + 4 * SXY * SXY)) / (2 * SXY);
}

double Estimator::intercept(double Ymean, double Xmean, double b) const
{
    return hasIntercept ? Ymean - b * Xmean : 0;
}

double Estimator::degreesOfFreedom(double n) const
{
    return hasIntercept ? n - 2 : n - 1;
}

double Estimator::varSlope(double SYY, double SXX, double SXY, double varFitted, double varResid, double b,
                           double n) const
{
    const double df = degreesOfFreedom(n);
    if (method != Method::MA)
        return (SYY / SXX) * unexplainedShare(SXY * SXY / (SYY * SXX)) / df;
    return (1 + b * b) * (1 + b * b) / df / (varFitted / varResid + varResid / varFitted - 2);
}

AxisMoments Estimator::axisMoments(double SYY, double SXX, double SXY, double b) const
{
    AxisMoments m;
    m.r = SYY - 2 * b * SXY + b * b * SXX;
    if (method == Method::OLS) {
        m.f = SXX;
        m.c = SXY - b * SXX;
    } else if (method == Method::SMA) {
        m.f = SYY + 2 * b * SXY + b * b * SXX;
        m.c = SYY - b * b * SXX;
    } else {
        m.f = b * b * SYY + 2 * b * SXY + SXX;
        m.c = b * (SYY - SXX) + SXY - b * b * SXY;
    }
    return m;
}

double Estimator::varFitted(double SYY, double SXX, double SXY, double b, double n) const
{
    const double f = axisMoments(SYY, SXX, SXY, b).f;
    return method == Method::OLS || !hasIntercept ? f : f * interceptFactor(n);
}

double Estimator::varResid(double SYY, double SXX, double SXY, double b, double n) const
{
    const double r = axisMoments(SYY, SXX, SXY, b).r;
    return hasIntercept ? r * interceptFactor(n) : r;
}

double Estimator::covarRF(double SYY, double SXX, double SXY, double b, double n) const
{
    const double c = axisMoments(SYY, SXX, SXY, b).c;
    return hasIntercept ? c * interceptFactor(n) : c;
}

double Estimator::residualScore(double y, double x, double b) const
{
    return y - b * x;
}

double Estimator::fittedScore(double y, double x, double b) const
{
    if (method == Method::OLS)
        return x;
    if (method == Method::SMA)
        return y + b * x;
    return b * y + x;
}

double Estimator::score(ScoreAxis axis, double y, double x, double b) const
{
    return axis == ScoreAxis::Residual ? residualScore(y, x, b) : fittedScore(y, x, b);
}

double Estimator::scoreVarianceLessErrors(ScoreAxis axis, double s, double b, ErrorVariances errors) const
{
    if (axis == ScoreAxis::Residual)
        return s - errors.y - b * b * errors.x;
    if (method == Method::OLS)
        return s - errors.x;
    if (method == Method::SMA)
        return s - (errors.y + b * b * errors.x);
    return s - (errors.x + b * b * errors.y);
}

double Estimator::scoreSlopeDerivative(ScoreAxis axis, double y, double x) const
{
    if (axis == ScoreAxis::Residual)
        return -x;
    if (method == Method::OLS)
        return 0;
    return method == Method::SMA ? x : y;
}

const char* Estimator::residualScoreText()
{
    return "Y-Bx";
}

const char* Estimator::fittedScoreText() const
{
    if (method == Method::OLS)
        return "X";
    return method == Method::SMA ? "Y+BX" : "BY+X";
}

double Estimator::scale(double b) const
{
    if (method == Method::OLS)
        return 1;
    if (method == Method::SMA)
        return 2 * std::fabs(b);
    return 1 + b * b;
}

} // namespace korvel
