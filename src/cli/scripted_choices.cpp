#include "cli/scripted_choices.h"

namespace korvel {

ScriptedChoices::ScriptedChoices(const AnalysisRequest& request) : request(request)
{
    if (request.elevation)
        actions.push_back(LinesAction::Elevation);
    if (request.shift)
        actions.push_back(LinesAction::Shift);
    if (!request.saveFile.empty())
        actions.push_back(LinesAction::Save);
}

double ScriptedChoices::errorVariance(Transform, const std::string&)
{
    return variancesGiven++ == 0 ? request.errors.x : request.errors.y;
}

bool ScriptedChoices::compareSlopes()
{
    return request.slopePairs;
}

bool ScriptedChoices::compareLines()
{
    return !actions.empty();
}

LinesAction ScriptedChoices::nextAction(bool)
{
    current = LinesAction::Exit;
    if (!actions.empty()) {
        current = actions.front();
        actions.pop_front();
    }
    return current;
}

bool ScriptedChoices::compareShiftPairs()
{
    return current == LinesAction::Elevation ? request.elevationPairs : request.shiftPairs;
}

std::string ScriptedChoices::transformedFileName(const std::string&, const std::string&)
{
    return request.saveFile;
}

} // namespace korvel
