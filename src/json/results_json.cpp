#include "json/results_json.h"

#include <cmath>
#include <string>

#include <nlohmann/json.hpp>

#include "data/version.h"
#include "stats/estimators.h"
#include "stats/hypothesis_tests.h"
#include "stats/p_adjustment.h"

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

json optionalNumber(const std::optional<double>& value)
{
    return value ? json(*value) : json(nullptr);
}

const char* pvalueSource(PValueFrom from)
{
    return from == PValueFrom::ChiSquared ? "chi-squared" : "resampling";
}

json filtersOf(const LoadedData& data)
{
    json filters = json::array();
    for (const FilterColumn& filter : data.filters) {
        json removed = json::array();
        for (const auto& [label, kept] : filter.keep)
            if (!kept)
                removed.push_back(label);
        filters.push_back({{"variable", filter.column.name}, {"removed", removed}});
    }
    return filters;
}

json settingsOf(const AnalysisSettings& s, const LoadedData& data, const AnalysisResults& results,
                std::optional<unsigned> seed)
{
    json settings = {{"method", namesOf(methodNames, s.method).report},
                     {"transformation", namesOf(transformNames, s.transform).option},
                     {"intercept", s.intercept},
                     {"confidence_percent", s.confidence},
                     {"min_group_size", s.minGroupSize},
                     {"p_value_from", pvalueSource(s.pvalueFrom)},
                     {"iterations", s.iterations},
                     {"critical_p", s.criticalP},
                     {"adjustment", namesOf(adjustmentNames, s.adjustment).option},
                     {"seed", seed ? json(*seed) : json(nullptr)},
                     {"hypothesised_slope", optionalNumber(s.slopeH0)},
                     {"hypothesised_intercept", optionalNumber(s.interceptH0)},
                     {"filters", filtersOf(data)}};
    settings["measurement_error"] = nullptr;
    if (s.measurementError)
        settings["measurement_error"] = {{"x", results.errors.x}, {"y", results.errors.y}};
    return settings;
}

json dataOf(const LoadedData& data, const AnalysisResults& r)
{
    json removed = json::array();
    for (const auto& [name, n] : r.smallGroups)
        removed.push_back({{"group", name}, {"reason", "fewer points than the minimum"}, {"n", n}});
    for (const std::string& name : r.invariantGroups)
        removed.push_back({{"group", name}, {"reason", "Y or X does not vary"}});
    for (const std::string& name : r.noFreedomGroups)
        removed.push_back({{"group", name}, {"reason", "no residual degree of freedom"}});
    for (const std::string& name : r.errorGroups)
        removed.push_back({{"group", name}, {"reason", "measurement error too large"}});
    long long points = 0;
    for (const auto& entry : r.groups)
        points += entry.second.n;
    return {{"file", data.filename},
            {"y", data.y.name},
            {"x", data.x.name},
            {"grouping", data.grouped ? json(data.grouping.name) : json(nullptr)},
            {"lines_read", data.dataLines()},
            {"lines_left_out",
             {{"total", r.linesLeftOut},
              {"not_a_number", r.notNumbers},
              {"not_above_zero", r.notPositive},
              {"blank_or_filtered", r.linesLeftOut - r.notNumbers - r.notPositive}}},
            {"groups_removed", removed},
            {"groups_analysed", r.groups.size()},
            {"points_analysed", points}};
}

json groupsOf(const AnalysisSettings& s, const AnalysisResults& r)
{
    const Estimator estimator(s.method, s.intercept);
    json groups = json::array();
    for (const auto& [name, g] : r.groups) {
        json group = {{"group", name}, {"n", g.n}};
        put(group, "r2", g.R2);
        put(group, "p", g.p);
        put(group, "slope", g.slope);
        put(group, "slope_low", g.slopeLowCI);
        put(group, "slope_high", g.slopeUppCI);
        if (s.method == Method::MA && g.slopeLowCI > g.slopeUppCI)
            group["slope_interval"] = "through the vertical: every slope below slope_high or above slope_low";
        put(group, "intercept", g.interc);
        put(group, "intercept_low", g.intercLowCI);
        put(group, "intercept_high", g.intercUppCI);
        put(group, "y_mean", g.Ymean);
        put(group, "x_mean", g.Xmean);
        if (s.slopeH0) {
            const TestResult t = slopeTest(estimator, g, *s.slopeH0);
            group["slope_test"] = {{"hypothesis", *s.slopeH0}};
            put(group["slope_test"], "F", t.stat);
            put(group["slope_test"], "p", t.p);
        }
        if (s.interceptH0 && s.intercept) {
            const TestResult t = interceptTest(g, *s.interceptH0);
            group["intercept_test"] = {{"hypothesis", *s.interceptH0}};
            put(group["intercept_test"], "T", t.stat);
            put(group["intercept_test"], "p", t.p);
        }
        groups.push_back(group);
    }
    return groups;
}

json commonTestOf(const AnalysisSettings& s, const CommonSlopeResult& t)
{
    json test = {{"groups", t.groups},
                 {"points", t.points},
                 {"p_value_from", pvalueSource(s.pvalueFrom)},
                 {"common", t.common}};
    put(test, "statistic", t.T);
    put(test, "p", t.p);
    put(test, "slope", t.b);
    if (t.common) {
        put(test, "slope_low", t.low);
        put(test, "slope_high", t.upp);
    }
    if (t.common && s.slopeH0) {
        test["hypothesised_slope_test"] = {{"hypothesis", *s.slopeH0}};
        put(test["hypothesised_slope_test"], "chi_squared", t.T0);
        put(test["hypothesised_slope_test"], "p", t.p0);
    }
    return test;
}

// Each pair of the table, (2nd, 1st), (3rd, 1st), (3rd, 2nd), ...: its groups,
// what fields(pair, object) puts, its p and, when adjusted, its adjusted p.
template <typename Pair, typename Fields>
json pairsOf(const GroupMap& groups, const PairTable<Pair>& table, PAdjustment adjustment, Fields fields)
{
    const std::vector<std::string> names = groupNames(groups);
    json pairs = json::array();
    for (int i = 0; i < table.groups(); ++i)
        for (int j = 0; j < i; ++j) {
            const Pair& pair = table.get(i, j);
            json object = {{"group_a", names[static_cast<std::size_t>(i)]}, {"group_b", names[static_cast<std::size_t>(j)]}};
            fields(pair, object);
            put(object, "p", pair.p);
            if (adjustment != PAdjustment::None)
                put(object, "adjusted_p", pair.adjustedP);
            pairs.push_back(object);
        }
    return pairs;
}

json linesOf(const AnalysisResults& r)
{
    const LinesAtCommonSlope& lines = *r.linesAtCommonSlope;
    const GrandMeans gm = grandMeans(r.groups, lines);
    json table = json::object();
    put(table, "common_slope", lines.B);
    put(table, "grand_mean_x", gm.X);
    put(table, "grand_mean_y", gm.Y);
    put(table, "grand_mean_fitted", gm.F);
    put(table, "grand_mean_residual", gm.R);
    table["groups"] = json::array();
    for (const auto& [name, g] : r.groups) {
        const LineAtCommonSlope& line = lines.of(name);
        json group = {{"group", name}, {"n", g.n}};
        put(group, "r2", g.R2);
        put(group, "intercept", line.interc);
        put(group, "y_at_grand_mean_x", yOnLine(line, lines.B, gm.X));
        put(group, "x_at_grand_mean_y", xOnLine(line, lines.B, gm.Y));
        put(group, "y_mean", g.Ymean);
        put(group, "x_mean", g.Xmean);
        put(group, "fitted_mean", line.fittedMean);
        put(group, "residual_mean", line.residMean);
        table["groups"].push_back(group);
    }
    return table;
}

json waldTestsOf(const AnalysisSettings& s, const AnalysisResults& r)
{
    json tests = json::array();
    for (const ShiftTest& t : r.shiftTests) {
        json test = {{"test", t.axis == ScoreAxis::Residual ? "elevation" : "shift"}, {"df", t.wald.k}};
        put(test, "statistic", t.wald.W);
        put(test, "p", t.wald.p);
        test["common_value"] = nullptr;
        if (t.wald.hasAcom)
            put(test, "common_value", t.wald.Acom);
        test["pairs"] = nullptr;
        if (t.pairs)
            test["pairs"] = pairsOf(r.groups, *t.pairs, s.adjustment, [](const ShiftPair& pair, json& object) {
                put(object, "difference", pair.difference);
                put(object, "standard_error", standardError(pair));
                put(object, "df", pair.df);
                put(object, "statistic", pair.stat);
            });
        tests.push_back(test);
    }
    return tests;
}
} // namespace

void writeResultsJson(std::ostream& out, const AnalysisSettings& settings, const LoadedData& data,
                      const AnalysisResults& results, std::optional<unsigned> seed,
                      const std::vector<NotDone>& notDone)
{
    json document = {{"schema_version", resultsSchemaVersion},
                     {"program", {{"name", "korvel"}, {"version", programVersion}}},
                     {"settings", settingsOf(settings, data, results, seed)},
                     {"data", dataOf(data, results)},
                     {"groups", groupsOf(settings, results)}};
    document["common_slope_test"] = nullptr;
    if (results.commonSlopeTest)
        document["common_slope_test"] = commonTestOf(settings, *results.commonSlopeTest);
    document["slope_pairs"] = nullptr;
    if (results.slopePairs)
        document["slope_pairs"] =
            pairsOf(results.groups, *results.slopePairs, settings.adjustment, [](const SlopePair& pair, json& object) {
                put(object, "common_slope", pair.slope);
                put(object, "statistic", pair.stat);
            });
    document["lines_with_common_slope"] = nullptr;
    if (results.linesAtCommonSlope)
        document["lines_with_common_slope"] = linesOf(results);
    document["wald_tests"] = waldTestsOf(settings, results);
    document["not_done"] = json::array();
    for (const NotDone& n : notDone)
        document["not_done"].push_back({{"option", n.option}, {"reason", n.reason}});
    out << document.dump(2) << "\n";
}

} // namespace korvel
