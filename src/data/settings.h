// The analysis settings as typed values: what the settings and data-input
// screens (or the command line) choose and every analysis reads.
#pragma once

#include <optional>

namespace korvel {

// Line-fitting method: ordinary least squares, standardised major axis,
// major axis.
enum class Method { OLS, SMA, MA };

// Transformation of Y and X before fitting.
enum class Transform { Log10, Ln, None };

// Where the p-value of the common-slope test comes from.
enum class PValueFrom { ChiSquared, Resampling };

// How the p-values of each post-hoc table are adjusted for the number of
// comparisons in it.
enum class PAdjustment { None, Holm, Bonferroni, Sidak };

// The axis score whose group means a Wald test compares: the fitted axis (a
// shift along the common slope) or the residual axis (a shift in elevation).
enum class ScoreAxis { Fitted, Residual };

struct AnalysisSettings {
    Method method = Method::SMA;
    bool intercept = true;        // false: lines through the origin
    bool measurementError = false; // correct the variances by typed error variances
    Transform transform = Transform::None;
    int confidence = 95;          // percent
    int minGroupSize = 6;
    PValueFrom pvalueFrom = PValueFrom::Resampling;
    int iterations = 1000;        // resampling iterations, also the common slope's iteration limit
    double criticalP = 0.05;
    std::optional<double> slopeH0;     // hypothesised slope
    std::optional<double> interceptH0; // hypothesised intercept
    PAdjustment adjustment = PAdjustment::None; // of the post-hoc tables' p-values
    // A common slope has settled when it took fewer iterations than this: the resampling iterations.
    int convergenceLimit() const { return iterations; }
};

// "OLS", "SMA" or "MA".
const char* methodName(Method method);

// "log10", "ln" or "none", as the command line names the transformation.
const char* transformName(Transform transform);

// "log " for log10, "ln " for the natural logarithm, "" for none: the prefix
// of a transformed variable's name.
const char* transformPrefix(Transform transform);

// "holm", "bonferroni", "sidak" or "none".
const char* adjustmentName(PAdjustment adjustment);

// True for the two logarithms.
bool isLogTransform(Transform transform);

} // namespace korvel
