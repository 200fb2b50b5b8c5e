// Turning the chosen text columns into numeric points by group.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "data/loaded_data.h"
#include "korvel/settings.h"

namespace korvel {

// The X and Y values of one group, in reverse order of the data lines.
struct Points {
    std::vector<double> X;
    std::vector<double> Y;
};

using PointsByGroup = std::map<std::string, Points>;

struct GroupedLines {
    PointsByGroup groups;
    int rejected = 0;    // lines left out: a cell empty or a single blank, removed by
                         // a filter, or one of the two reasons below
    int notNumbers = 0;  // lines whose Y or X is not a number
    int notPositive = 0; // lines whose Y or X is not above 0 under a logarithm
};

// Groups the accepted data lines: group, Y and X filled (not empty, not a
// single blank), every filter keeping the line's cell, Y and X decimal numbers
// (above 0 under a logarithm); the other lines are counted.
GroupedLines groupLines(const LoadedData& data, Transform transform);

// Removes the groups of fewer than minSize points; returns their names and
// sizes in map order.
std::vector<std::pair<std::string, int>> removeSmallGroups(PointsByGroup& groups, int minSize);

// Removes the groups whose Y values, or whose X values, are all equal (all 0
// for lines through the origin): no line can be fitted to them. Returns their
// names in map order.
std::vector<std::string> removeGroupsWithoutVariation(PointsByGroup& groups, bool hasIntercept);

// The value on the transformed scale.
double transformed(Transform transform, double v);

// Transforms every X and Y of a group in place.
void transformPoints(Points& points, Transform transform);

} // namespace korvel
