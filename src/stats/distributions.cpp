#include "stats/distributions.h"

#include <cmath>
#include <limits>

#include <gsl/gsl_cdf.h>

namespace korvel {

namespace {
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

bool validDf(double nu)
{
    return nu > 0 && !std::isnan(nu);
}

bool validProbability(double P)
{
    return P >= 0 && P <= 1;
}
} // namespace

double fdistQ(double x, double nu1, double nu2)
{
    if (!validDf(nu1) || !validDf(nu2) || !(x >= 0))
        return notANumber;
    return gsl_cdf_fdist_Q(x, nu1, nu2);
}

// The library's F quantiles fail to converge for large second degrees of
// freedom (about 10^5 and more) and give NaN. With one numerator degree of
// freedom F is the square of t, whose quantiles stay accurate there, so the
// square of the matching two-sided t quantile takes their place.
static double fQuantileFallback(double upperTail, double nu1, double nu2, double value)
{
    if (!std::isnan(value) || nu1 != 1)
        return value;
    const double t = gsl_cdf_tdist_Pinv(1 - upperTail / 2, nu2);
    return t * t;
}

double fdistPinv(double P, double nu1, double nu2)
{
    if (!validDf(nu1) || !validDf(nu2) || !validProbability(P))
        return notANumber;
    return fQuantileFallback(1 - P, nu1, nu2, gsl_cdf_fdist_Pinv(P, nu1, nu2));
}

double fdistQinv(double Q, double nu1, double nu2)
{
    if (!validDf(nu1) || !validDf(nu2) || !validProbability(Q))
        return notANumber;
    return fQuantileFallback(Q, nu1, nu2, gsl_cdf_fdist_Qinv(Q, nu1, nu2));
}

double tdistP(double x, double nu)
{
    if (!validDf(nu) || std::isnan(x))
        return notANumber;
    return gsl_cdf_tdist_P(x, nu);
}

double tdistPinv(double P, double nu)
{
    if (!validDf(nu) || !validProbability(P))
        return notANumber;
    return gsl_cdf_tdist_Pinv(P, nu);
}

double chisqQ(double x, double nu)
{
    if (!validDf(nu) || std::isnan(x))
        return notANumber;
    return gsl_cdf_chisq_Q(x, nu);
}

double chisqQinv(double Q, double nu)
{
    if (!validDf(nu) || !validProbability(Q))
        return notANumber;
    return gsl_cdf_chisq_Qinv(Q, nu);
}

} // namespace korvel
