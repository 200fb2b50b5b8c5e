// The fit calls: the data grouped, then each group's line fitted.
#include <algorithm>
#include <map>

#include "data/grouping.h"
#include "data/loaded_data.h"
#include "engine/fitted_groups.h"
#include "engine/numerical_errors.h"
#include "korvel/engine.h"
#include "korvel/errors.h"
#include "stats/axis_scores.h"
#include "stats/hypothesis_tests.h"
#include "stats/line_fits.h"
#include "stats/measurement_error.h"

namespace korvel {

const GroupMap& groupsOf(const Fit& fit)
{
    return fit.groups->groups;
}

Estimator estimatorOf(const AnalysisSettings& settings)
{
    return Estimator(settings.method, settings.intercept, settings.robust);
}

PointsView Fit::pointsOf(std::size_t group) const
{
    const Group& g = groups->groups.at(lines[group].group);
    return {g.X, g.Y, g.downweighted};
}

namespace {
void addRemoved(std::vector<RemovedGroup>& removed, const std::vector<std::string>& names, RemovalReason reason,
                const std::map<std::string, int>& sizes)
{
    for (const std::string& name : names)
        removed.push_back({name, reason, sizes.at(name)});
}

// One group's line as a fit returns it, with its tests.
GroupLine lineOf(const std::string& name, const Group& g, const AnalysisSettings& s, const Estimator& estimator)
{
    GroupLine line{name, g.n, g.R2, g.p, g.slope, g.slopeLowCI, g.slopeUppCI, g.interc, g.intercLowCI,
                   g.intercUppCI, g.Ymean, g.Xmean, s.method == Method::MA && g.slopeLowCI > g.slopeUppCI, {}, {}, {}};
    if (s.slopeH0) {
        const TestResult t = slopeTest(estimator, g, *s.slopeH0);
        line.slopeTest = HypothesisTest{*s.slopeH0, t.stat, t.p};
    }
    if (s.robust)
        line.downweightedPoints = static_cast<int>(std::count(g.downweighted.begin(), g.downweighted.end(), true));
    if (s.interceptH0 && s.intercept) {
        const TestResult t = interceptTest(g, *s.interceptH0);
        line.interceptTest = HypothesisTest{*s.interceptH0, t.stat, t.p};
    }
    return line;
}
} // namespace

GroupedData groupData(const Data& data, const AnalysisSettings& settings)
{
    quietNumericalErrors();
    GroupedLines grouped = groupLines(*data.columns, settings.transform);
    GroupedData result;
    result.settings = settings;
    result.leftOut = {grouped.rejected, grouped.notNumbers, grouped.notPositive};
    std::map<std::string, int> sizes;
    for (const auto& [name, points] : grouped.groups)
        sizes[name] = static_cast<int>(points.X.size());
    for (const auto& [name, n] : removeSmallGroups(grouped.groups, settings.minGroupSize))
        result.removed.push_back({name, RemovalReason::FewerPoints, n});
    for (auto& entry : grouped.groups)
        transformPoints(entry.second, settings.transform);
    addRemoved(result.removed, removeGroupsWithoutVariation(grouped.groups, settings.intercept),
               RemovalReason::NoVariation, sizes);
    result.kept = std::make_shared<FittedGroups>(FittedGroups{groupsOf(std::move(grouped.groups))});
    addRemoved(result.removed, removeGroupsWithoutResidualFreedom(estimatorOf(settings), result.kept->groups),
               RemovalReason::NoResidualFreedom, sizes);
    for (const auto& [name, g] : result.kept->groups) {
        result.groups.push_back(name);
        result.points += g.n;
    }
    return result;
}

Fit fitGroups(GroupedData grouped, ErrorVariances errors)
{
    quietNumericalErrors();
    const AnalysisSettings& s = grouped.settings;
    const Estimator estimator = estimatorOf(s);
    GroupMap& groups = grouped.kept->groups;
    Fit fit;
    fit.settings = s;
    fit.errors = s.measurementError ? errors : ErrorVariances{};
    fit.leftOut = grouped.leftOut;
    fit.removed = std::move(grouped.removed);
    if (s.measurementError) {
        std::map<std::string, int> sizes;
        for (const auto& [name, g] : groups)
            sizes[name] = g.n;
        addRemoved(fit.removed, removeGroupsBeyondError(estimator, groups, fit.errors),
                   RemovalReason::MeasurementError, sizes);
    }
    fitLines(estimator, fit.errors, groups);
    fitLimits(estimator, groups, s.confidence, fit.errors);
    for (const auto& [name, g] : groups) {
        fit.lines.push_back(lineOf(name, g, s, estimator));
        fit.points += g.n;
    }
    fit.groups = std::move(grouped.kept);
    return fit;
}

Fit fit(const Data& data, const AnalysisSettings& settings, ErrorVariances errors)
{
    const std::vector<std::string> problems = settingsProblems(settings);
    if (!problems.empty())
        throw RequestError(problems.front());
    return fitGroups(groupData(data, settings), errors);
}

std::vector<GroupScores> axisScores(const Fit& fit, std::optional<double> commonSlope)
{
    const Estimator estimator = estimatorOf(fit.settings);
    std::vector<GroupScores> scores;
    for (const auto& entry : groupsOf(fit))
        scores.push_back(scoresAt(estimator, entry.second, commonSlope.value_or(entry.second.slope)));
    return scores;
}

const char* residualScoreText()
{
    return Estimator::residualScoreText();
}

const char* fittedScoreText(Method method)
{
    return Estimator(method, true).fittedScoreText();
}

} // namespace korvel
