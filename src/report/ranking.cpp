#include "report/ranking.h"

namespace korvel {

void insertRanked(std::list<RankedGroup>& ranking, const RankedGroup& entry)
{
    auto it = ranking.begin();
    while (it != ranking.end() && !(it->value >= entry.value))
        ++it;
    ranking.insert(it, entry);
}

std::list<RankedGroup> rankGroups(const std::vector<RankedGroup>& inNameOrder)
{
    std::list<RankedGroup> ranking;
    for (const RankedGroup& group : inNameOrder)
        insertRanked(ranking, group);
    return ranking;
}

} // namespace korvel
