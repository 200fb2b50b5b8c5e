// Turning the profile's text columns into numeric groups.
#pragma once

#include <string>
#include <vector>

#include "SMAstats.h"
#include "profile.h"

struct GroupedData {
    GroupMap groups;       // accepted points per group name, reverse order of the lines
    int rejected = 0;      // lines left out, for any of the reasons below or an empty or
                           // single-blank cell, or removed by a filter
    int notNumbers = 0;    // lines whose Y or X is not a number
    int notPositive = 0;   // lines whose Y or X is not above 0 under a log transformation
    int groupWidth = 7;    // longest group name met, at least 7, never a multiple of 6
};

// True when data line i is used: its group, Y and X cells are neither empty nor
// a single blank, and every filter map keeps its cell (a cell missing from a
// map removes the line).
bool lineAccepted(const profile& prof, int i);

// Groups the accepted lines of the profile. A line whose Y or X is not a
// decimal number, or under a log transformation not above 0, is left out and
// counted. Each group's X and Y hold its points in reverse order of the data
// lines.
GroupedData groupLines(const profile& prof);

// True for the two log transformations (0 base-10, 1 natural).
bool isLogTransform(int transform);

// Transformation of one value: 0 base-10 logarithm, 1 natural logarithm,
// anything else unchanged.
double transformValue(int transform, double v);

// Readies a kept group for fitting: axis scores sized to its points (zeros),
// X and Y transformed in place.
void prepareGroup(summary_stats& g, int transform);

// Sets every group's n, removes the groups smaller than minSize and returns
// their names and sizes in map order.
std::vector<std::pair<std::string, int>> removeSmallGroups(GroupMap& groups, int minSize);
