// The answers of the user at the console.
#pragma once

#include "analysis/analysis_choices.h"

namespace korvel {

class ConsoleChoices : public AnalysisChoices {
public:
    double errorVariance(Transform transform, const std::string& name) override;
    bool compareSlopes() override;
    bool compareLines() override;
    LinesAction nextAction(bool hasIntercept) override;
    bool compareShiftPairs() override;
    std::string transformedFileName(const std::string& dataFile, const std::string& reportName) override;
};

} // namespace korvel
