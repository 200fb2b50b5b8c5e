#include "stats/ranking.h"

namespace korvel {

void insertRanked(std::list<RankedGroup>& ranking, const RankedGroup& entry)
{
    auto it = ranking.begin();
    while (it != ranking.end() && !(it->value >= entry.value))
        ++it;
    ranking.insert(it, entry);
}

std::list<RankedGroup> rankGroups(const GroupMap& groups,
                                  const std::function<double(const std::string&, const Group&)>& value)
{
    std::list<RankedGroup> ranking;
    int index = 0;
    for (const auto& entry : groups) {
        RankedGroup r;
        r.value = value(entry.first, entry.second);
        r.index = index++;
        r.name = entry.first;
        r.n = entry.second.n;
        insertRanked(ranking, r);
    }
    return ranking;
}

} // namespace korvel
