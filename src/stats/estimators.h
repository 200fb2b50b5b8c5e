// The formulas every fit and test uses: sums and (co)variances of vectors,
// and, by line-fitting method, the slope, the scores of a point on the
// residual and fitted axes, their variances and covariance, and the
// sampling variance of a slope.
#pragma once

#include <vector>

#include "data/settings.h"

// -1 when v < 0, otherwise +1 (0 gives +1).
int signOf(double v);

// Sum of the elements.
double sumOf(const std::vector<double>& v);

// Cross products over i < size(x): about the means when centred, raw otherwise.
double sumOfProducts(const std::vector<double>& x, const std::vector<double>& y, bool centred);

// sumOfProducts / (n - 1) when centred, / n otherwise: the ordinary covariance
// for lines with an intercept, the raw second moment through the origin.
double covarianceOf(const std::vector<double>& x, const std::vector<double>& y, bool centred);

// covarianceOf(v, v, centred): the variance of the elements, or their raw
// second moment.
double varianceOf(const std::vector<double>& v, bool centred);

// Variance of the residual-axis scores r, of the fitted-axis scores f and their
// covariance c at a slope, from a group's SXX, SYY and SXY (not scaled by K).
struct AxisMoments {
    double r, f, c;
};

// The measurement-error variances typed for X and Y (0 when not used).
struct ErrorVariances {
    double x = 0, y = 0;
};

class Estimator {
public:
    Estimator(Method method, bool hasIntercept) : method(method), hasIntercept(hasIntercept) {}

    const Method method;
    const bool hasIntercept;

    // The slope: OLS SXY/SXX, SMA sign(SXY) sqrt(SYY/SXX), MA the major axis.
    double slope(double SYY, double SXX, double SXY) const;
    // Sampling variance of a slope b (divisor n - 2 in every case).
    double varSlope(double SYY, double SXX, double SXY, double varFitted, double varResid, double b, int n) const;
    AxisMoments axisMoments(double SYY, double SXX, double SXY, double b) const;
    // The moments of the scores as a line with n points has them: times the
    // intercept factor K(n) when the line has an intercept (the fitted-axis
    // variance of OLS, X's own, never).
    double varFitted(double SYY, double SXX, double SXY, double b, int n) const;
    double varResid(double SYY, double SXX, double SXY, double b, int n) const;
    double covarRF(double SYY, double SXX, double SXY, double b, int n) const;
    // Scores of one point at slope b: y - b x, and OLS x, SMA y + b x, MA b y + x.
    double residualScore(double y, double x, double b) const;
    double fittedScore(double y, double x, double b) const;
    // Slope-scale factor: OLS 1, SMA 2|b|, MA 1 + b^2.
    double scale(double b) const;
};
