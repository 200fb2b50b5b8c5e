// Distribution functions of the numerical library, guarded so that arguments
// outside a function's domain (degrees of freedom <= 0, a negative F, a
// probability outside [0, 1], NaN) give NaN instead of an error. The F
// quantiles with one numerator degree of freedom stay finite for very large
// denominator degrees of freedom, where the library alone gives NaN.
#pragma once

namespace korvel {

double fdistQ(double x, double nu1, double nu2);     // upper tail of F
double fdistPinv(double P, double nu1, double nu2);  // lower-tail F quantile
double fdistQinv(double Q, double nu1, double nu2);  // upper-tail F quantile
double tdistP(double x, double nu);                  // lower tail of t
double tdistPinv(double P, double nu);               // lower-tail t quantile
double chisqQ(double x, double nu);                  // upper tail of chi-squared
double chisqQinv(double Q, double nu);               // upper-tail chi-squared quantile

} // namespace korvel
