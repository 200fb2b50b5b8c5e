#include "data/variable_names.h"

#include <algorithm>
#include <cstdlib>

#include "data/entry_checks.h"

namespace korvel {

std::optional<int> variableIndex(const std::vector<std::string>& header, const std::string& text)
{
    const auto named = std::find(header.begin(), header.end(), text);
    if (named != header.end())
        return static_cast<int>(named - header.begin());
    if (!text.empty() && isWholeNumberIn(text, 0, static_cast<int>(header.size()) - 1))
        return std::atoi(text.c_str());
    return std::nullopt;
}

} // namespace korvel
