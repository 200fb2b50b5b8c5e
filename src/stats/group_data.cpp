#include "group_data.h"

#include <algorithm>
#include <cmath>
#include <iostream>

#include "console.h"
#include "text.h"

bool lineAccepted(const profile& prof, int i)
{
    const auto& cols = prof.columns;
    for (int role = 0; role < 3; ++role) {
        const std::string& cell = cols[static_cast<std::size_t>(role)][static_cast<std::size_t>(i)];
        if (cell.empty() || cell == " ")
            return false;
    }
    for (std::size_t k = 0; k < prof.filter_maps.size(); ++k) {
        const auto& map = prof.filter_maps[k];
        const auto found = map.find(cols[3 + k][static_cast<std::size_t>(i)]);
        if (found == map.end() || found->second == 0)
            return false;
    }
    return true;
}

GroupedData groupLines(const profile& prof)
{
    GroupedData data;
    for (int i = 1; i < prof.n_lines; ++i) {
        if (!lineAccepted(prof, i)) {
            ++data.rejected;
            continue;
        }
        const auto y = decimalValue(prof.columns[1][static_cast<std::size_t>(i)]);
        const auto x = decimalValue(prof.columns[2][static_cast<std::size_t>(i)]);
        if (!y || !x) {
            ++data.notNumbers;
            ++data.rejected;
            continue;
        }
        if (isLogTransform(prof.transform) && !(*y > 0 && *x > 0)) {
            ++data.notPositive;
            ++data.rejected;
            continue;
        }
        const std::string& name = prof.columns[0][static_cast<std::size_t>(i)];
        auto found = data.groups.find(name);
        if (found == data.groups.end()) {
            found = data.groups.emplace(name, summary_stats()).first;
            data.groupWidth = std::max(data.groupWidth, static_cast<int>(name.size()));
        }
        found->second.X.push_back(*x);
        found->second.Y.push_back(*y);
    }
    // Points were appended in line order; groups hold them latest first.
    for (auto& entry : data.groups) {
        std::reverse(entry.second.X.begin(), entry.second.X.end());
        std::reverse(entry.second.Y.begin(), entry.second.Y.end());
    }
    if (data.groupWidth % 6 == 0)
        ++data.groupWidth;
    return data;
}

bool isLogTransform(int transform)
{
    return transform == 0 || transform == 1;
}

double transformValue(int transform, double v)
{
    if (transform == 0)
        return std::log10(v);
    if (transform == 1)
        return std::log(v);
    return v;
}

void prepareGroup(summary_stats& g, int transform)
{
    g.fittedAxis.assign(g.X.size(), 0.0);
    g.residAxis.assign(g.X.size(), 0.0);
    for (double& x : g.X)
        x = transformValue(transform, x);
    for (double& y : g.Y)
        y = transformValue(transform, y);
}

std::vector<std::pair<std::string, int>> removeSmallGroups(GroupMap& groups, int minSize)
{
    std::vector<std::pair<std::string, int>> removed;
    for (auto it = groups.begin(); it != groups.end();) {
        it->second.n = static_cast<int>(it->second.X.size());
        if (it->second.n < minSize) {
            removed.emplace_back(it->first, it->second.n);
            it = groups.erase(it);
        } else {
            ++it;
        }
    }
    return removed;
}

SMAstats::SMAstats() = default;

static const char* methodName(int method)
{
    return method == 0 ? "OLS" : method == 1 ? "SMA" : "MA";
}

static const char* transformPrefix(int transform)
{
    return transform == 0 ? "log " : transform == 1 ? "ln " : "";
}

// Reads one measurement-error variance; a word that is not a number, or a
// negative number, is refused and read again.
static double askErrorVariance(int transform, const std::string& name)
{
    std::cout << "Enter error variance estimate for " << transformPrefix(transform) << name << ": ";
    const std::string word = reaskUntil(readWord(), [](const std::string& w) {
        const auto value = decimalValue(w);
        return value && *value >= 0;
    });
    return *decimalValue(word);
}

// True when the error variances leave a group no line: its corrected variance
// of X or of Y is not above 0, or its corrected squared correlation is above 1.
static bool errorTooLarge(const SMAstats& st, const summary_stats& g)
{
    const bool centred = st.intercept == 1;
    const double sxx = st.variance(g.X, g.X, centred) - st.measErrX;
    const double syy = st.variance(g.Y, g.Y, centred) - st.measErrY;
    const double sxy = st.variance(g.X, g.Y, centred);
    return !(sxx > 0) || !(syy > 0) || sxy * sxy / (sxx * syy) > 1;
}

// Prints the data-file warnings of the grouping, each only when it applies.
static void warnLeftOut(const GroupedData& data)
{
    if (data.notNumbers > 0)
        std::cout << "Warning: " << data.notNumbers << " line(s) left out: Y or X is not a number" << std::endl;
    if (data.notPositive > 0)
        std::cout << "Warning: " << data.notPositive
                  << " line(s) left out: Y or X is not above 0 for the log transformation" << std::endl;
}

// The data-summary block's lines up to the filters (method, file, variables,
// settings and the filter maps).
static void writeSummaryHead(std::ofstream& out, const profile& prof, int method, int intercept, int measError)
{
    const auto& cols = prof.columns;
    out << methodName(method) << " analysis";
    if (intercept == 0)
        out << "\t fitted through origin";
    if (measError == 1)
        out << "\t fitted using Methods of Moments";
    out << "\nFilename:\t" << prof.filename;
    out << "\nGrp:\t" << cols[0][0];
    out << "\tY: " << transformPrefix(prof.transform) << cols[1][0] << "\tX: " << transformPrefix(prof.transform)
        << cols[2][0] << std::endl;
    out << "No. iterations:\t" << prof.n_iterations << "\tCritical p:\t" << prof.crit_p
        << "\tConf.interval:\t" << prof.conf_level << "%" << std::endl;
    out << "Filters:\n";
    for (std::size_t k = 0; k < prof.filter_maps.size(); ++k) {
        out << cols[3 + k][0] << "\t";
        for (const auto& keep : prof.filter_maps[k])
            out << keep.first << " (" << keep.second << ")\t";
        out << std::endl;
    }
}

void SMAstats::input(profile& prof, std::ofstream& out)
{
    GroupedData data = groupLines(prof);
    warnLeftOut(data);
    groups = std::move(data.groups);
    groupWidth = data.groupWidth;
    method = prof.method;
    intercept = prof.intercept != 0 ? 1 : 0;
    measError = prof.meas_error != 0 ? 1 : 0;
    const std::string& yName = prof.columns[1][0];
    const std::string& xName = prof.columns[2][0];

    writeSummaryHead(out, prof, method, intercept, measError);
    out << "Filtered or empty data points:\t" << data.rejected;
    out << "\nGroups with less than " << prof.min_group_size << " data points (removed):\t";
    for (const auto& removed : removeSmallGroups(groups, prof.min_group_size)) {
        std::cout << "Group " << removed.first << " erased with " << removed.second << " elements" << "\n";
        out << removed.first << "\t";
    }
    long long points = 0;
    for (auto& entry : groups) {
        prepareGroup(entry.second, prof.transform);
        points += entry.second.n;
    }
    out << "\nNo. groups:\t" << groups.size() << "\nNo. datapoints:\t" << points << std::endl;

    measErrX = 0;
    measErrY = 0;
    if (measError == 1) {
        measErrX = askErrorVariance(prof.transform, xName);
        measErrY = askErrorVariance(prof.transform, yName);
    }
    out << "Measurement Error: ";
    if (measError == 1)
        out << xName << " = " << measErrX << "\t" << yName << " = " << measErrY << std::endl;
    else
        out << "Not included" << std::endl;
    if (measError == 1)
        removeGroupsBeyondError(out);
}

void SMAstats::removeGroupsBeyondError(std::ofstream& out)
{
    std::vector<std::string> removed;
    for (auto it = groups.begin(); it != groups.end();) {
        if (!errorTooLarge(*this, it->second)) {
            ++it;
            continue;
        }
        std::cout << "Group " << it->first << " erased: measurement error too large for its data" << std::endl;
        removed.push_back(it->first);
        it = groups.erase(it);
    }
    if (removed.empty())
        return;
    out << "Measurement error too large, removed:\t";
    for (const std::string& name : removed)
        out << name << "\t";
    out << std::endl;
}

void SMAstats::displayData() const
{
    std::cout << "Data groups" << "\n";
    for (const auto& entry : groups) {
        const summary_stats& g = entry.second;
        std::cout << entry.first << "\t";
        for (std::size_t i = 0; i < g.X.size(); ++i)
            std::cout << "(" << g.X[i] << "," << g.Y[i] << ")  ";
        std::cout << "\n";
        std::cout << "Size: " << g.n << "  SXX: " << g.SXX << "  Slope: " << g.slope << "  R2: " << g.R2 << "\n";
    }
}
