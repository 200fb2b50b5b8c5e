// The formulas every fit and test uses: sums and (co)variances of vectors,
// the error rate of a confidence percent, and, by line-fitting method, the
// slope, the degrees of freedom, the scores of a point on the residual and
// fitted axes and the point of given scores, the scores' variances and
// covariance, and the sampling variance of a slope.
#pragma once

#include <vector>

#include "korvel/settings.h"

namespace korvel {

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

// 1 - r2, the share of the variance a line leaves unexplained, at least 0:
// rounding can take the squared correlation of points on an exact line just
// above 1, where the line then has its own slope as limits and p 0.
double unexplainedShare(double r2);

// The error rate of confidence limits at a confidence percent: 1 - confidence / 100.
double alphaOf(double confidence);

// Variance of the residual-axis scores r, of the fitted-axis scores f and their
// covariance c at a slope, from a group's SXX, SYY and SXY (not scaled by K).
struct AxisMoments {
    double r, f, c;
};


class Estimator {
public:
    Estimator(Method method, bool hasIntercept, bool robust = false)
        : method(method), hasIntercept(hasIntercept), robust(robust)
    {
    }

    const Method method;
    const bool hasIntercept;
    const bool robust; // the groups' moments by Huber M-estimation (robust_moments.h)

    // The slope: OLS SXY/SXX, SMA sign(SXY) sqrt(SYY/SXX), MA the major axis.
    double slope(double SYY, double SXX, double SXY) const;
    // The intercept of the line of slope b through the means: Ymean - b Xmean
    // with an intercept, 0 through the origin.
    double intercept(double Ymean, double Xmean, double b) const;
    // Degrees of freedom of a line fitted to n points: n - 2 with an
    // intercept, n - 1 through the origin. Here and below n is a group's
    // effective size, not always a whole number (robust moments).
    double degreesOfFreedom(double n) const;
    // Sampling variance of a slope b, divided by the line's degrees of freedom
    // (n - 2 with an intercept, n - 1 through the origin, as the quantile of
    // its limits): for OLS the variance of lm's slope.
    double varSlope(double SYY, double SXX, double SXY, double varFitted, double varResid, double b, double n) const;
    AxisMoments axisMoments(double SYY, double SXX, double SXY, double b) const;
    // The moments of the scores as a line with n points has them: times the
    // intercept factor K(n) when the line has an intercept (the fitted-axis
    // variance of OLS, X's own, never).
    double varFitted(double SYY, double SXX, double SXY, double b, double n) const;
    double varResid(double SYY, double SXX, double SXY, double b, double n) const;
    double covarRF(double SYY, double SXX, double SXY, double b, double n) const;
    // Scores of one point at slope b: y - b x, and OLS x, SMA y + b x, MA b y + x.
    double residualScore(double y, double x, double b) const;
    double fittedScore(double y, double x, double b) const;
    // The score on the axis; of a group's means, the mean of its scores.
    double score(ScoreAxis axis, double y, double x, double b) const;
    // The variance s of scores on the axis at slope b, less the variance the
    // measurement errors add to it: y - b x has ey + b^2 ex, the fitted scores
    // OLS ex, SMA ey + b^2 ex, MA ex + b^2 ey.
    double scoreVarianceLessErrors(ScoreAxis axis, double s, double b, ErrorVariances errors) const;
    // Derivative of the score of (x, y) with respect to the slope: -x, and OLS 0,
    // SMA x, MA y.
    double scoreSlopeDerivative(ScoreAxis axis, double y, double x) const;
    // The scores as the report writes them: "Y-Bx", and "X", "Y+BX" or "BY+X".
    static const char* residualScoreText();
    const char* fittedScoreText() const;
    // Slope-scale factor: OLS 1, SMA 2|b|, MA 1 + b^2.
    double scale(double b) const;
};

// The factors of a slope b that rebuilding points from their scores takes
// once, not point by point: b, 0.5 / b and b^2 + 1.
struct SlopeFactors {
    explicit SlopeFactors(double b) : b(b), halfOverB(0.5 / b), scale(b * b + 1) {}
    double b, halfOverB, scale;
};

// The inverse of the scores of method M at slope b: the point (x, y) whose
// fitted score is f and whose residual score is r + a. OLS x = f, y = b f + r + a;
// SMA y = (f + r + a) / 2, x = (f - r - a) / (2 b); MA y = (b f + r + a) /
// (b^2 + 1), x = (f - b (r + a)) / (b^2 + 1).
template <Method M>
inline void pointOfScores(const SlopeFactors& s, double f, double r, double a, double& x, double& y)
{
    if constexpr (M == Method::OLS) {
        x = f;
        y = s.b * f + r + a;
    } else if constexpr (M == Method::SMA) {
        y = (f + r + a) * 0.5;
        x = s.halfOverB * (f - r - a);
    } else {
        y = (s.b * f + r + a) / s.scale;
        x = (f - s.b * (r + a)) / s.scale;
    }
}

} // namespace korvel
