// One group of points and everything fitted to it.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "data/grouping.h"

namespace korvel {

struct Group {
    std::vector<double> X; // transformed X values, reverse order of the data lines
    std::vector<double> Y; // transformed Y values, parallel to X
    int n = 0;
    // Its effective sizes: n, or with robust moments n over the estimate's
    // variance factor, of the shape (slopes, correlation) and of the location.
    double shapeSize = 0, locationSize = 0;
    double Xmean = 0, Ymean = 0;
    double SXX = 0, SYY = 0, SXY = 0; // (co)variances, less the measurement error
    double varSlope = 0, varInterc = 0;
    double varFitted = 0, varResid = 0; // axis variances at the group's slope
    double R2 = 0, p = 0;
    std::vector<bool> downweighted; // with robust moments: each point's location weight is below 0.5
    double slope = 0, slopeLowCI = 0, slopeUppCI = 0;
    double interc = 0, intercLowCI = 0, intercUppCI = 0;
};

// Groups by name, in byte-wise order of the names: every table lists them so.
using GroupMap = std::map<std::string, Group>;

// Groups of the given points, with their sizes.
GroupMap groupsOf(PointsByGroup&& points);

// Removes the groups for which remove(group) holds; returns their names in
// map order.
std::vector<std::string> removeGroupsWhere(GroupMap& groups, const std::function<bool(const Group&)>& remove);

// The groups' names in map order, the order of every table.
std::vector<std::string> groupNames(const GroupMap& groups);

} // namespace korvel
