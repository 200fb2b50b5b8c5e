// The answers of a run without questions, given by its request (the command
// line's options, or a package's arguments).
#pragma once

#include <deque>

#include "korvel/analysis.h"
#include "analysis/analysis_choices.h"

namespace korvel {

// Comparisons as the options ask; with the lines sharing a slope: the
// elevation test, then the shift test, then the saved data, each when asked.
class RequestChoices : public AnalysisChoices {
public:
    explicit RequestChoices(const Request& request);
    double errorVariance(Transform transform, const std::string& name) override;
    bool compareSlopes() override;
    bool compareLines() override;
    LinesAction nextAction(bool hasIntercept) override;
    bool compareShiftPairs() override;
    std::string transformedFileName(const std::string& dataFile, const std::string& reportName) override;

private:
    const Request& request;
    std::deque<LinesAction> actions;
    LinesAction current = LinesAction::Other;
    int variancesGiven = 0;
};

} // namespace korvel
