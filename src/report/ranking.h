// The groups ranked by a value, as the pair-wise significance matrix lists them.
#pragma once

#include <list>
#include <string>

#include <vector>

namespace korvel {

// One group's entry in the ranking.
struct RankedGroup {
    double value = 0; // the ranking value, printed after the name
    int index = 0;    // position of the group in map order
    std::string name;
    int n = 0;
};

// Inserts entry before the first entry whose value is >= its own (at the end
// when there is none): ascending by value, and among equal values the entry
// inserted later stands first. A comparison with NaN is false, so a NaN
// entry goes to the end and no entry stops before one.
void insertRanked(std::list<RankedGroup>& ranking, const RankedGroup& entry);

// The groups, given in name order (their index that order's), each inserted
// in turn.
std::list<RankedGroup> rankGroups(const std::vector<RankedGroup>& inNameOrder);

} // namespace korvel
