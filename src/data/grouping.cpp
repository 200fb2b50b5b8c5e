#include "data/grouping.h"

#include <algorithm>
#include <cmath>

namespace korvel {

namespace {
// Whether a data line is taken at all: its group, Y and X filled, and kept by
// every filter.
class LineAcceptance {
public:
    explicit LineAcceptance(const LoadedData& data) : data(data)
    {
        for (const FilterColumn& filter : data.filters) {
            std::vector<bool> keep;
            for (const std::string& label : filter.column.labels) {
                const auto found = filter.keep.find(label);
                keep.push_back(found != filter.keep.end() && found->second);
            }
            keeps.push_back(std::move(keep));
        }
        for (const std::string& label : data.grouping.labels)
            blankGroup.push_back(isBlankCell(label));
    }

    bool operator()(std::size_t line) const
    {
        if (blankGroup[data.grouping.ids[line]] || data.y.kinds[line] == CellKind::Blank ||
            data.x.kinds[line] == CellKind::Blank)
            return false;
        for (std::size_t f = 0; f < keeps.size(); ++f)
            if (!keeps[f][data.filters[f].column.ids[line]])
                return false;
        return true;
    }

private:
    const LoadedData& data;
    std::vector<std::vector<bool>> keeps; // by filter, then by label
    std::vector<bool> blankGroup;         // by label
};
} // namespace

GroupedLines groupLines(const LoadedData& data, Transform transform)
{
    GroupedLines grouped;
    const LineAcceptance accepted(data);
    std::vector<Points> byLabel(data.grouping.labels.size());
    std::vector<bool> met(data.grouping.labels.size(), false);
    // Room for every line of a label, taken when the label is first met, so
    // that no group's points are copied as they grow.
    std::vector<std::size_t> lines(byLabel.size());
    for (std::uint32_t label : data.grouping.ids)
        ++lines[label];
    for (std::size_t line = 0; line < data.dataLines(); ++line) {
        if (!accepted(line)) {
            ++grouped.rejected;
            continue;
        }
        if (data.y.kinds[line] != CellKind::Number || data.x.kinds[line] != CellKind::Number) {
            ++grouped.notNumbers;
            ++grouped.rejected;
            continue;
        }
        const double y = data.y.values[line], x = data.x.values[line];
        if (isLogTransform(transform) && !(y > 0 && x > 0)) {
            ++grouped.notPositive;
            ++grouped.rejected;
            continue;
        }
        const std::uint32_t label = data.grouping.ids[line];
        if (!met[label]) {
            met[label] = true;
            byLabel[label].X.reserve(lines[label]);
            byLabel[label].Y.reserve(lines[label]);
        }
        byLabel[label].X.push_back(x);
        byLabel[label].Y.push_back(y);
    }
    // Points were appended in line order; groups hold them latest first.
    for (std::size_t label = 0; label < byLabel.size(); ++label) {
        if (!met[label])
            continue;
        Points& points = byLabel[label];
        std::reverse(points.X.begin(), points.X.end());
        std::reverse(points.Y.begin(), points.Y.end());
        grouped.groups.emplace(data.grouping.labels[label], std::move(points));
    }
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

} // namespace korvel
