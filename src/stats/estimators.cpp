// The formulas every fit and test uses, by method (0 OLS, 1 SMA, 2 MA).
#include <cmath>

#include "SMAstats.h"

int sign(double v)
{
    return v < 0 ? -1 : 1;
}

// Intercept correction factor: the integer quotient (n - 1) / (n - 2), taken
// as 1 for n = 2 where the quotient has no divisor.
static double interceptFactor(int n)
{
    if (n == 2)
        return 1.0;
    return static_cast<double>((n - 1) / (n - 2));
}

static double withK(double value, int n, bool hasIntercept)
{
    return hasIntercept ? value * interceptFactor(n) : value;
}

double SMAstats::sum(const std::vector<double>& v) const
{
    double total = 0;
    for (double x : v)
        total += x;
    return total;
}

double SMAstats::SumSq(const std::vector<double>& x, const std::vector<double>& y, bool centred) const
{
    const std::size_t n = x.size();
    double mx = 0, my = 0;
    if (centred) {
        mx = sum(x) / static_cast<double>(n);
        my = sum(y) / static_cast<double>(n);
    }
    double total = 0;
    for (std::size_t i = 0; i < n; ++i)
        total += (x[i] - mx) * (y[i] - my);
    return total;
}

double SMAstats::variance(const std::vector<double>& x, const std::vector<double>& y, bool centred) const
{
    const double d = static_cast<double>(x.size()) - (centred ? 1.0 : 0.0);
    return SumSq(x, y, centred) / d;
}

double SMAstats::B_est(double SYY, double SXX, double SXY) const
{
    if (method == 0)
        return SXY / SXX;
    if (method == 1)
        return sign(SXY) * std::sqrt(SYY / SXX);
    return ((SYY - SXX) + std::sqrt((SYY - SXX) * (SYY - SXX) + 4 * SXY * SXY)) / (2 * SXY);
}

double SMAstats::var_slope(double SYY, double SXX, double SXY, double varFitted, double varResid, double b,
                           int n) const
{
    if (method == 0 || method == 1)
        return (SYY / SXX) * (1 - SXY * SXY / (SYY * SXX)) / (n - 2);
    return (1 + b * b) * (1 + b * b) / (n - 2) / (varFitted / varResid + varResid / varFitted - 2);
}

double SMAstats::var_fitted(double SYY, double SXX, double SXY, double b, int n, bool hasIntercept) const
{
    if (method == 0)
        return SXX;
    if (method == 1)
        return withK(SYY + 2 * b * SXY + b * b * SXX, n, hasIntercept);
    return withK(b * b * SYY + 2 * b * SXY + SXX, n, hasIntercept);
}

double SMAstats::var_resid(double SYY, double SXX, double SXY, double b, int n, bool hasIntercept) const
{
    return withK(SYY - 2 * b * SXY + b * b * SXX, n, hasIntercept);
}

double SMAstats::covar_rf(double SYY, double SXX, double SXY, double b, int n, bool hasIntercept) const
{
    if (method == 0)
        return withK(SXY - b * SXX, n, hasIntercept);
    if (method == 1)
        return withK(SYY - b * b * SXX, n, hasIntercept);
    return withK(b * (SYY - SXX) + SXY - b * b * SXY, n, hasIntercept);
}

double SMAstats::residual_axis(double y, double x, double b) const
{
    return y - b * x;
}

double SMAstats::fitted_axis(double y, double x, double b) const
{
    if (method == 0)
        return x;
    if (method == 1)
        return y + b * x;
    return b * y + x;
}

double SMAstats::kb(double b) const
{
    if (method == 0)
        return 1;
    if (method == 1)
        return 2 * std::fabs(b);
    return 1 + b * b;
}

double SMAstats::XYFR(int type, double X, double Y, double F, double R) const
{
    switch (type) {
    case 0:
        return X;
    case 1:
        return Y;
    case 2:
        return F;
    default:
        return R;
    }
}
