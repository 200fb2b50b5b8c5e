#include "data/grouping.h"

#include <algorithm>
#include <cmath>

#include "data/text_checks.h"

bool lineAccepted(const LoadedData& data, int i)
{
    const auto line = static_cast<std::size_t>(i);
    for (int role : {GroupColumn, YColumn, XColumn}) {
        const std::string& cell = data.columns[static_cast<std::size_t>(role)][line];
        if (cell.empty() || cell == " ")
            return false;
    }
    for (std::size_t k = 0; k < data.filterMaps.size(); ++k) {
        const FilterMap& keep = data.filterMaps[k];
        const auto found = keep.find(data.columns[FirstFilterColumn + k][line]);
        if (found == keep.end() || found->second == 0)
            return false;
    }
    return true;
}

GroupedLines groupLines(const LoadedData& data, Transform transform)
{
    GroupedLines grouped;
    for (int i = 1; i < data.lineCount; ++i) {
        const auto line = static_cast<std::size_t>(i);
        if (!lineAccepted(data, i)) {
            ++grouped.rejected;
            continue;
        }
        const auto y = decimalValue(data.columns[YColumn][line]);
        const auto x = decimalValue(data.columns[XColumn][line]);
        if (!y || !x) {
            ++grouped.notNumbers;
            ++grouped.rejected;
            continue;
        }
        if (isLogTransform(transform) && !(*y > 0 && *x > 0)) {
            ++grouped.notPositive;
            ++grouped.rejected;
            continue;
        }
        const std::string& name = data.columns[GroupColumn][line];
        auto found = grouped.groups.find(name);
        if (found == grouped.groups.end()) {
            found = grouped.groups.emplace(name, Points()).first;
            grouped.nameWidth = std::max(grouped.nameWidth, static_cast<int>(name.size()));
        }
        found->second.X.push_back(*x);
        found->second.Y.push_back(*y);
    }
    // Points were appended in line order; groups hold them latest first.
    for (auto& entry : grouped.groups) {
        std::reverse(entry.second.X.begin(), entry.second.X.end());
        std::reverse(entry.second.Y.begin(), entry.second.Y.end());
    }
    if (grouped.nameWidth % 6 == 0)
        ++grouped.nameWidth;
    return grouped;
}

std::vector<std::pair<std::string, int>> removeSmallGroups(PointsByGroup& groups, int minSize)
{
    std::vector<std::pair<std::string, int>> removed;
    for (auto it = groups.begin(); it != groups.end();) {
        const int n = static_cast<int>(it->second.X.size());
        if (n < minSize) {
            removed.emplace_back(it->first, n);
            it = groups.erase(it);
        } else {
            ++it;
        }
    }
    return removed;
}

namespace {
// True when every value equals the first (0 too through the origin).
bool constant(const std::vector<double>& values, bool hasIntercept)
{
    const double first = hasIntercept ? values.front() : 0.0;
    return std::all_of(values.begin(), values.end(), [first](double v) { return v == first; });
}
} // namespace

std::vector<std::string> removeGroupsWithoutVariation(PointsByGroup& groups, bool hasIntercept)
{
    std::vector<std::string> removed;
    for (auto it = groups.begin(); it != groups.end();) {
        if (constant(it->second.X, hasIntercept) || constant(it->second.Y, hasIntercept)) {
            removed.push_back(it->first);
            it = groups.erase(it);
        } else {
            ++it;
        }
    }
    return removed;
}

double transformed(Transform transform, double v)
{
    switch (transform) {
    case Transform::Log10:
        return std::log10(v);
    case Transform::Ln:
        return std::log(v);
    default:
        return v;
    }
}

void transformPoints(Points& points, Transform transform)
{
    for (double& x : points.X)
        x = transformed(transform, x);
    for (double& y : points.Y)
        y = transformed(transform, y);
}
