// What the engine's calls return: plain values, every number computed (the
// writers of the report, the results file and the figures only format them).
// A result that is not defined is NaN (a statistic of degenerate data) or an
// empty optional with the reason in its comment, never 0.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "korvel/settings.h"

namespace korvel {

// A test of one hypothesised value: F (slope), T with its sign (intercept) or
// chi-squared (common slope), and its p-value.
struct HypothesisTest {
    double hypothesis = 0;
    double statistic = 0;
    double p = 0;
};

// One group's fitted line, with its confidence limits and tests.
struct GroupLine {
    std::string group;
    int n = 0;
    double r2 = 0, p = 0; // squared correlation and the p-value of no correlation
    double slope = 0, slopeLow = 0, slopeHigh = 0;
    double intercept = 0, interceptLow = 0, interceptHigh = 0; // all 0 through the origin
    double yMean = 0, xMean = 0;
    // MA only: the interval runs through the vertical (slopeLow above
    // slopeHigh, every slope outside (slopeHigh, slopeLow) within it).
    bool throughVertical = false;
    std::optional<HypothesisTest> slopeTest;     // when a slope is hypothesised
    std::optional<HypothesisTest> interceptTest; // when an intercept is, with an intercept
    // With robust moments: the points whose location weight is below 0.5.
    std::optional<int> downweightedPoints;
};

// Why a group was left out of the analysis.
enum class RemovalReason { FewerPoints, NoVariation, NoResidualFreedom, MeasurementError };

inline constexpr SettingNames<RemovalReason> removalReasonNames[] = {
    {RemovalReason::FewerPoints, "", "", "", "fewer points than the minimum"},
    {RemovalReason::NoVariation, "", "", "", "Y or X does not vary"},
    {RemovalReason::NoResidualFreedom, "", "", "", "no residual degree of freedom"},
    {RemovalReason::MeasurementError, "", "", "", "measurement error too large"},
};

struct RemovedGroup {
    std::string group;
    RemovalReason reason = RemovalReason::FewerPoints;
    int n = 0; // its points
};

// The data lines left out, by kind: every line left out, those whose Y or X
// is not a number, those not above 0 under a logarithm (the rest are blank
// or removed by a filter).
struct LinesLeftOut {
    int total = 0, notNumbers = 0, notPositive = 0;
};

// The scores of a group's points on the residual and fitted axes at a slope,
// in the order of its points.
struct GroupScores {
    std::vector<double> residual, fitted;
};

struct FittedGroups; // the fitted groups as the later calls take them

// The groups of the data and their lines: what a fit call returns.
// A group's points, as a fit holds them, and with robust moments which of
// them have a location weight below 0.5 (empty otherwise).
struct PointsView {
    const std::vector<double>& x;
    const std::vector<double>& y;
    const std::vector<bool>& downweighted;
};

struct Fit {
    AnalysisSettings settings;
    ErrorVariances errors;
    LinesLeftOut leftOut;
    std::vector<RemovedGroup> removed; // in the order removed: by reason, then by name
    std::vector<GroupLine> lines;      // the groups analysed, by name (byte-wise)
    long long points = 0;              // the points of the groups analysed
    std::shared_ptr<const FittedGroups> groups;
    // A group's points as analysed (transformed), in reverse order of the
    // data lines; the groups in the order of lines.
    PointsView pointsOf(std::size_t group) const;
};

// A symmetric table of results of every pair of groups, one row and column
// per group in name order; the diagonal is never filled.
template <typename Cell>
class PairTable {
public:
    explicit PairTable(std::vector<std::string> names = {})
        : names(std::move(names)), cells(this->names.size() * this->names.size())
    {
    }
    void set(int i, int j, const Cell& cell)
    {
        at(i, j) = cell;
        at(j, i) = cell;
    }
    const Cell& get(int i, int j) const { return cells[index(i, j)]; }
    int groups() const { return static_cast<int>(names.size()); }
    const std::string& name(int i) const { return names[static_cast<std::size_t>(i)]; }

private:
    std::vector<std::string> names;
    std::vector<Cell> cells;
    std::size_t index(int i, int j) const
    {
        return static_cast<std::size_t>(i) * names.size() + static_cast<std::size_t>(j);
    }
    Cell& at(int i, int j) { return cells[index(i, j)]; }
};

// Two groups tested for a common slope, as all groups were.
struct SlopePair {
    std::optional<double> slope; // their common slope; none when it did not settle
    double statistic = 0;        // at the slope the iteration left
    double p = 0;
    std::optional<double> adjustedP; // when the table's p-values are adjusted
};

struct Interval {
    double low = 0, high = 0;
};

// The test for a common slope across the groups.
struct CommonSlopeTest {
    int groups = 0, points = 0;
    double slope = 0;     // the common slope (the last iterate when it did not settle)
    bool settled = false; // the iteration settled (or its fixed point was found after it)
    double statistic = 0, p = 0;
    PValueFrom pvalueFrom = PValueFrom::ChiSquared;
    int iterations = 0;  // of the resampling, as asked
    bool common = false; // p > the critical p: the groups share the slope
    std::optional<Interval> limits;                 // only when common
    std::optional<HypothesisTest> hypothesisedSlope; // only when common and a slope is hypothesised
};

// One group's line with the common slope, through its means.
struct LineWithCommonSlope {
    std::string group;
    int n = 0;
    double r2 = 0;
    double intercept = 0;             // its residual score at the means (through the origin too)
    double yAtGrandX = 0, xAtGrandY = 0; // where it passes the grand means
    double yMean = 0, xMean = 0, fittedMean = 0, residualMean = 0;
    // What the Wald tests take: the slope's variance at the common slope, the
    // variances of the scores less what the measurement errors add to them,
    // and the group's effective size for its means (n, or less with robust moments).
    double varSlope = 0;
    double residualVariance = 0, fittedVariance = 0;
    double locationSize = 0;
    GroupScores scores; // of its points at the common slope
};

struct LinesWithCommonSlope {
    double slope = 0;
    double grandX = 0, grandY = 0, grandFitted = 0, grandResidual = 0; // means over every point
    std::vector<LineWithCommonSlope> groups;                          // by name
};

// Two groups compared by the Wald test of those two alone.
struct ShiftPair {
    double difference = 0;    // the later group's mean score less the earlier one's (name order)
    double standardError = 0; // |difference| / sqrt(statistic); NaN when the statistic is 0
    double df = 1;
    double statistic = 0, p = 0;
    std::optional<double> adjustedP; // when the table's p-values are adjusted
};

// A Wald test of the lines with the common slope for a shift in elevation
// (residual scores) or along the slope (fitted scores).
struct WaldTest {
    ScoreAxis axis = ScoreAxis::Residual;
    int df = 0;
    double statistic = 0, p = 0; // NaN when a matrix cannot be inverted or a group is too small
    std::optional<double> commonValue; // the means' common value, only when p > the critical p
    std::optional<PairTable<ShiftPair>> pairs; // when compared
};

// A comparison or output asked for that was not made, and why.
struct NotDone {
    std::string option; // e.g. "--save"
    std::string reason;
};

} // namespace korvel
