// The results file: one JSON document of an analysis, written with
// nlohmann-json, every number at full precision.
#include <cmath>
#include <string>

#include <nlohmann/json.hpp>

#include "data/version.h"
#include "korvel/analysis.h"

namespace korvel {

namespace {
using json = nlohmann::ordered_json; // keys in the order written

// Sets object[key] to the number, or to null with its kind beside it.
void put(json& object, const std::string& key, double value)
{
    if (std::isfinite(value)) {
        object[key] = value;
        return;
    }
    object[key] = nullptr;
    object[key + "_note"] = std::isnan(value) ? "nan" : std::signbit(value) ? "-inf" : "inf";
}

// Sets object[key] to the number, or to null with why it has none.
void put(json& object, const std::string& key, const std::optional<double>& value, const char* whyNone)
{
    if (value) {
        put(object, key, *value);
        return;
    }
    object[key] = nullptr;
    object[key + "_note"] = whyNone;
}

json optionalNumber(const std::optional<double>& value)
{
    return value ? json(*value) : json(nullptr);
}

json filtersOf(const Data& data)
{
    json filters = json::array();
    for (const FilterDecisions& filter : data.filters()) {
        json removed = json::array();
        for (const auto& [label, kept] : filter.keep)
            if (!kept)
                removed.push_back(label);
        filters.push_back({{"variable", filter.variable}, {"removed", removed}});
    }
    return filters;
}

json settingsOf(const Analysis& a, std::optional<std::uint32_t> seed)
{
    const AnalysisSettings& s = a.fit.settings;
    json settings = {{"method", namesOf(methodNames, s.method).json},
                     {"transformation", namesOf(transformNames, s.transform).json},
                     {"intercept", s.intercept},
                     {"confidence_percent", s.confidence},
                     {"min_group_size", s.minGroupSize},
                     {"p_value_from", namesOf(pvalueFromNames, s.pvalueFrom).json},
                     {"iterations", s.iterations},
                     {"critical_p", s.criticalP},
                     {"adjustment", namesOf(adjustmentNames, s.adjustment).json},
                     {"robust", s.robust},
                     {"seed", seed ? json(*seed) : json(nullptr)},
                     {"hypothesised_slope", optionalNumber(s.slopeH0)},
                     {"hypothesised_intercept", optionalNumber(s.interceptH0)},
                     {"filters", filtersOf(a.data)}};
    settings["measurement_error"] = nullptr;
    if (s.measurementError)
        settings["measurement_error"] = {{"x", a.fit.errors.x}, {"y", a.fit.errors.y}};
    return settings;
}

json dataOf(const Analysis& a)
{
    const Fit& fit = a.fit;
    json removed = json::array();
    for (const RemovedGroup& group : fit.removed)
        removed.push_back(
            {{"group", group.group}, {"reason", namesOf(removalReasonNames, group.reason).json}, {"n", group.n}});
    return {{"file", a.data.source()},
            {"y", a.data.yName()},
            {"x", a.data.xName()},
            {"grouping", a.data.grouped() ? json(a.data.groupingName()) : json(nullptr)},
            {"lines_read", a.data.dataLines()},
            {"lines_left_out",
             {{"total", fit.leftOut.total},
              {"not_a_number", fit.leftOut.notNumbers},
              {"not_above_zero", fit.leftOut.notPositive},
              {"blank_or_filtered", fit.leftOut.total - fit.leftOut.notNumbers - fit.leftOut.notPositive}}},
            {"groups_removed", removed},
            {"groups_analysed", fit.lines.size()},
            {"points_analysed", fit.points}};
}

json testOf(const HypothesisTest& t, const char* statistic)
{
    json test = {{"hypothesis", t.hypothesis}};
    put(test, statistic, t.statistic);
    put(test, "p", t.p);
    return test;
}

json groupsOf(const Fit& fit)
{
    json groups = json::array();
    for (const GroupLine& line : fit.lines) {
        json group = {{"group", line.group}, {"n", line.n}};
        put(group, "r2", line.r2);
        put(group, "p", line.p);
        put(group, "slope", line.slope);
        put(group, "slope_low", line.slopeLow);
        put(group, "slope_high", line.slopeHigh);
        if (line.throughVertical)
            group["slope_interval"] = "through the vertical: every slope below slope_high or above slope_low";
        put(group, "intercept", line.intercept);
        put(group, "intercept_low", line.interceptLow);
        put(group, "intercept_high", line.interceptHigh);
        put(group, "y_mean", line.yMean);
        put(group, "x_mean", line.xMean);
        if (line.slopeTest)
            group["slope_test"] = testOf(*line.slopeTest, "F");
        if (line.interceptTest)
            group["intercept_test"] = testOf(*line.interceptTest, "T");
        if (line.downweightedPoints)
            group["downweighted_points"] = *line.downweightedPoints;
        groups.push_back(group);
    }
    return groups;
}

json commonTestOf(const CommonSlopeTest& t)
{
    json test = {{"groups", t.groups},
                 {"points", t.points},
                 {"p_value_from", namesOf(pvalueFromNames, t.pvalueFrom).json},
                 {"common", t.common},
                 {"settled", t.settled}};
    put(test, "statistic", t.statistic);
    put(test, "p", t.p);
    put(test, "slope", t.slope);
    if (t.limits) {
        put(test, "slope_low", t.limits->low);
        put(test, "slope_high", t.limits->high);
    }
    if (const auto& h = t.hypothesisedSlope)
        test["hypothesised_slope_test"] = testOf(*h, "chi_squared");
    return test;
}

// Each pair of the table, (2nd, 1st), (3rd, 1st), (3rd, 2nd), ...: its groups,
// what fields(pair, object) puts, its p and, when adjusted, its adjusted p.
template <typename Pair, typename Fields>
json pairsOf(const PairTable<Pair>& table, Fields fields)
{
    json pairs = json::array();
    for (int i = 0; i < table.groups(); ++i)
        for (int j = 0; j < i; ++j) {
            const Pair& pair = table.get(i, j);
            json object = {{"group_a", table.name(i)}, {"group_b", table.name(j)}};
            fields(pair, object);
            put(object, "p", pair.p);
            if (pair.adjustedP)
                put(object, "adjusted_p", *pair.adjustedP);
            pairs.push_back(object);
        }
    return pairs;
}

json linesOf(const LinesWithCommonSlope& lines)
{
    json table = json::object();
    put(table, "common_slope", lines.slope);
    put(table, "grand_mean_x", lines.grandX);
    put(table, "grand_mean_y", lines.grandY);
    put(table, "grand_mean_fitted", lines.grandFitted);
    put(table, "grand_mean_residual", lines.grandResidual);
    table["groups"] = json::array();
    for (const LineWithCommonSlope& line : lines.groups) {
        json group = {{"group", line.group}, {"n", line.n}};
        put(group, "r2", line.r2);
        put(group, "intercept", line.intercept);
        put(group, "y_at_grand_mean_x", line.yAtGrandX);
        put(group, "x_at_grand_mean_y", line.xAtGrandY);
        put(group, "y_mean", line.yMean);
        put(group, "x_mean", line.xMean);
        put(group, "fitted_mean", line.fittedMean);
        put(group, "residual_mean", line.residualMean);
        table["groups"].push_back(group);
    }
    return table;
}

json waldTestsOf(const std::vector<WaldTest>& waldTests)
{
    json tests = json::array();
    for (const WaldTest& t : waldTests) {
        json test = {{"test", namesOf(scoreAxisNames, t.axis).json}, {"df", t.df}};
        put(test, "statistic", t.statistic);
        put(test, "p", t.p);
        test["common_value"] = nullptr;
        if (t.commonValue)
            put(test, "common_value", *t.commonValue);
        test["pairs"] = nullptr;
        if (t.pairs)
            test["pairs"] = pairsOf(*t.pairs, [](const ShiftPair& pair, json& object) {
                put(object, "difference", pair.difference);
                put(object, "standard_error", pair.standardError);
                put(object, "df", pair.df);
                put(object, "statistic", pair.statistic);
            });
        tests.push_back(test);
    }
    return tests;
}
} // namespace

void writeResultsJson(std::ostream& out, const Analysis& analysis, std::optional<std::uint32_t> seed,
                      const std::vector<NotDone>& notDone)
{
    json document = {{"schema_version", resultsSchemaVersion},
                     {"program", {{"name", "korvel"}, {"version", programVersion}}},
                     {"settings", settingsOf(analysis, seed)},
                     {"data", dataOf(analysis)},
                     {"groups", groupsOf(analysis.fit)}};
    document["common_slope_test"] = nullptr;
    if (analysis.commonSlope)
        document["common_slope_test"] = commonTestOf(*analysis.commonSlope);
    document["slope_pairs"] = nullptr;
    if (analysis.slopePairs)
        document["slope_pairs"] = pairsOf(*analysis.slopePairs, [](const SlopePair& pair, json& object) {
            put(object, "common_slope", pair.slope, "did not settle");
            put(object, "statistic", pair.statistic);
        });
    document["lines_with_common_slope"] = nullptr;
    if (analysis.lines)
        document["lines_with_common_slope"] = linesOf(*analysis.lines);
    document["wald_tests"] = waldTestsOf(analysis.waldTests);
    document["not_done"] = json::array();
    for (const NotDone& n : notDone)
        document["not_done"].push_back({{"option", n.option}, {"reason", n.reason}});
    out << document.dump(2) << "\n";
}

} // namespace korvel
