#include "stats/group.h"

namespace korvel {

GroupMap groupsOf(PointsByGroup&& points)
{
    GroupMap groups;
    for (auto& [name, p] : points) {
        Group& g = groups[name];
        g.X = std::move(p.X);
        g.Y = std::move(p.Y);
        g.n = static_cast<int>(g.X.size());
        g.shapeSize = g.locationSize = g.n;
    }
    return groups;
}

std::vector<std::string> removeGroupsWhere(GroupMap& groups, const std::function<bool(const Group&)>& remove)
{
    std::vector<std::string> removed;
    for (auto it = groups.begin(); it != groups.end();) {
        if (remove(it->second)) {
            removed.push_back(it->first);
            it = groups.erase(it);
        } else {
            ++it;
        }
    }
    return removed;
}

std::vector<std::string> groupNames(const GroupMap& groups)
{
    std::vector<std::string> names;
    for (const auto& entry : groups)
        names.push_back(entry.first);
    return names;
}

} // namespace korvel
