#include "analysis/request_choices.h"

namespace korvel {

RequestChoices::RequestChoices(const Request& request) : request(request)
{
    if (request.elevation)
        actions.push_back(LinesAction::Elevation);
    if (request.shift)
        actions.push_back(LinesAction::Shift);
    if (!request.saveFile.empty())
        actions.push_back(LinesAction::Save);
}

double RequestChoices::errorVariance(Transform, const std::string&)
{
    return variancesGiven++ == 0 ? request.errors.x : request.errors.y;
}

bool RequestChoices::compareSlopes()
{
    return request.slopePairs;
}

bool RequestChoices::compareLines()
{
    return !actions.empty();
}

LinesAction RequestChoices::nextAction(bool)
{
    current = LinesAction::Exit;
    if (!actions.empty()) {
        current = actions.front();
        actions.pop_front();
    }
    return current;
}

bool RequestChoices::compareShiftPairs()
{
    return current == LinesAction::Elevation ? request.elevationPairs : request.shiftPairs;
}

std::string RequestChoices::transformedFileName(const std::string&, const std::string&)
{
    return request.saveFile;
}

} // namespace korvel
