// The settings of an analysis as values; each setting's names in the command
// line, on the screens, in the report and in the results file (one table per
// kind of setting); and the values each setting may take.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace korvel {

// Line-fitting method: ordinary least squares, standardised major axis,
// major axis.
enum class Method { OLS, SMA, MA };

// Transformation of Y and X before fitting.
enum class Transform { Log10, Ln, None };

// Where the p-value of the common-slope test comes from.
enum class PValueFrom { ChiSquared, Resampling };

// How the p-values of each table of pairs are adjusted for the number of
// comparisons in it.
enum class PAdjustment { None, Holm, Bonferroni, Sidak };

// The axis score whose group means a Wald test compares: the fitted axis (a
// shift along the common slope) or the residual axis (a shift in elevation).
enum class ScoreAxis { Fitted, Residual };

// The names of one value of a setting: its word on the command line (and in
// the R and Python packages), its text on the screens, its text in the report
// and its name in the results file. Empty where a front end does not name it.
template <typename Value>
struct SettingNames {
    Value value;
    const char* option;
    const char* screen;
    const char* report;
    const char* json;
};

inline constexpr SettingNames<Method> methodNames[] = {
    {Method::OLS, "ols", "OLS", "OLS", "OLS"},
    {Method::SMA, "sma", "SMA", "SMA", "SMA"},
    {Method::MA, "ma", "MA", "MA", "MA"},
};

// The report names a transformed variable with its prefix ("log Hwt").
inline constexpr SettingNames<Transform> transformNames[] = {
    {Transform::Log10, "log10", "log Y vs log X", "log ", "log10"},
    {Transform::Ln, "ln", "ln Y vs ln X", "ln ", "ln"},
    {Transform::None, "none", "linear Y vs linear X", "", "none"},
};

// The command line and the packages choose chi-squared p-values by a flag.
inline constexpr SettingNames<PValueFrom> pvalueFromNames[] = {
    {PValueFrom::ChiSquared, "chi-squared", "No", "", "chi-squared"},
    {PValueFrom::Resampling, "resampling", "Yes", "", "resampling"},
};

inline constexpr SettingNames<PAdjustment> adjustmentNames[] = {
    {PAdjustment::None, "none", "", "none", "none"},
    {PAdjustment::Holm, "holm", "", "holm", "holm"},
    {PAdjustment::Bonferroni, "bonferroni", "", "bonferroni", "bonferroni"},
    {PAdjustment::Sidak, "sidak", "", "sidak", "sidak"},
};

inline constexpr SettingNames<ScoreAxis> scoreAxisNames[] = {
    {ScoreAxis::Residual, "elevation", "", "elevation", "elevation"},
    {ScoreAxis::Fitted, "shift", "", "shift", "shift"},
};

// The names of a value in its table.
template <typename Value, std::size_t N>
constexpr const SettingNames<Value>& namesOf(const SettingNames<Value> (&table)[N], Value value)
{
    for (const SettingNames<Value>& names : table)
        if (names.value == value)
            return names;
    return table[0];
}

// The value whose option word is word, if any.
template <typename Value, std::size_t N>
std::optional<Value> valueOfOption(const SettingNames<Value> (&table)[N], const std::string& word)
{
    for (const SettingNames<Value>& names : table)
        if (word == names.option)
            return names.value;
    return std::nullopt;
}

// The option words of a table, separated by ", ", as messages list them.
template <typename Value, std::size_t N>
std::string optionWords(const SettingNames<Value> (&table)[N])
{
    std::string words;
    for (const SettingNames<Value>& names : table)
        words += (words.empty() ? "" : ", ") + std::string(names.option);
    return words;
}

// True for the two logarithms.
constexpr bool isLogTransform(Transform transform)
{
    return transform != Transform::None;
}

// The measurement-error variances of X and Y (0 when not used).
struct ErrorVariances {
    double x = 0, y = 0;
};

struct AnalysisSettings {
    Method method = Method::SMA;
    bool intercept = true;         // false: lines through the origin
    bool measurementError = false; // correct the variances by error variances given with the data
    Transform transform = Transform::None;
    int confidence = 95; // percent
    int minGroupSize = 6;
    PValueFrom pvalueFrom = PValueFrom::Resampling;
    int iterations = 1000; // resampling iterations, also the common slope's iteration limit
    double criticalP = 0.05;
    std::optional<double> slopeH0;     // hypothesised slope
    std::optional<double> interceptH0; // hypothesised intercept
    PAdjustment adjustment = PAdjustment::None; // of the post-hoc tables' p-values
    bool robust = false; // each group's location and scatter by Huber M-estimation
    // A common slope has settled when it took fewer iterations than this: the resampling iterations.
    int convergenceLimit() const { return iterations; }
};

// The values a setting may take, bounds included. The dialogue asks for
// whole numbers only and accepts a confidence of 100 (every slope) and 0
// iterations (taken as 1); the command line and the packages, whose
// confidence is any number of percents between its bounds, take neither.
struct SettingLimits {
    int confidenceLow = 1, confidenceHigh = 100, confidenceHighFromOptions = 99;
    int minGroupSizeLow = 1, minGroupSizeHigh = 50;
    double criticalPLow = 0, criticalPHigh = 1;
    int iterationsLowInDialogue = 0, iterationsLow = 1;
};
inline constexpr SettingLimits settingLimits{};

// What is wrong with settings given to the engine (from options or a
// package), one text per setting out of its range naming the setting and
// the range; none when they are all right.
std::vector<std::string> settingsProblems(const AnalysisSettings& settings);

} // namespace korvel
