// The answers of a run from the command line, given by its options.
#pragma once

#include <deque>

#include "cli/command_line.h"
#include "analysis/analysis_choices.h"

namespace korvel {

// Comparisons as the options ask; with the lines sharing a slope: the
// elevation test, then the shift test, then the saved data, each when asked.
class ScriptedChoices : public AnalysisChoices {
public:
    explicit ScriptedChoices(const AnalysisRequest& request);
    double errorVariance(Transform transform, const std::string& name) override;
    bool compareSlopes() override;
    bool compareLines() override;
    LinesAction nextAction(bool hasIntercept) override;
    bool compareShiftPairs() override;
    std::string transformedFileName(const std::string& dataFile, const std::string& reportName) override;

private:
    const AnalysisRequest& request;
    std::deque<LinesAction> actions;
    LinesAction current = LinesAction::Other;
    int variancesGiven = 0;
};

} // namespace korvel
