#include "distributions.h"

#include <cmath>
#include <limits>

#include <gsl/gsl_cdf.h>

namespace {
const double notANumber = std::numeric_limits<double>::quiet_NaN();

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

double fdistPinv(double P, double nu1, double nu2)
{
    if (!validDf(nu1) || !validDf(nu2) || !validProbability(P))
        return notANumber;
    return gsl_cdf_fdist_Pinv(P, nu1, nu2);
}

double fdistQinv(double Q, double nu1, double nu2)
{
    if (!validDf(nu1) || !validDf(nu2) || !validProbability(Q))
        return notANumber;
    return gsl_cdf_fdist_Qinv(Q, nu1, nu2);
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
