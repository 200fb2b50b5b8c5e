#include "packages/outcome_notes.h"

#include <algorithm>
#include <sstream>

#include "report/console_messages.h"

namespace korvel {

std::string resultsDocument(const Analysis& analysis, std::optional<std::uint32_t> seed,
                            const std::vector<NotDone>& notDone)
{
    std::ostringstream out;
    writeResultsJson(out, analysis, seed, notDone);
    return out.str();
}

std::vector<std::string> notDoneNotes(const std::vector<NotDone>& notDone)
{
    std::vector<std::string> notes;
    for (const NotDone& n : notDone) {
        std::string keyword = n.option.substr(n.option.find_first_not_of('-'));
        std::replace(keyword.begin(), keyword.end(), '-', '_');
        notes.push_back(keyword + ": " + n.reason);
    }
    return notes;
}

std::vector<std::string> emptyFitNotes(const Fit& fit)
{
    if (fit.lines.empty())
        return {"no group left to analyse"};
    return {};
}

std::vector<std::string> readingNotes(const Data& data, const std::string& path)
{
    std::ostringstream warning;
    writeShortRecordsWarning(warning, data.shortRecords, path, data.headerCells);
    const std::string text = warning.str();
    if (text.empty())
        return {};
    return {text.substr(0, text.size() - 1)};
}

void append(std::vector<std::string>& notes, const std::vector<std::string>& more)
{
    notes.insert(notes.end(), more.begin(), more.end());
}

} // namespace korvel
