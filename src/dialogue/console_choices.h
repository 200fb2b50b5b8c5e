// The answers of the user at the console.
#pragma once

#include "analysis/analysis_choices.h"
#include "dialogue/console_input.h"

namespace korvel {

class ConsoleChoices : public AnalysisChoices {
public:
    explicit ConsoleChoices(Console& console) : console(console) {}
    double errorVariance(Transform transform, const std::string& name) override;
    bool compareSlopes() override;
    bool compareLines() override;
    LinesAction nextAction(bool hasIntercept) override;
    bool compareShiftPairs() override;
    std::string transformedFileName(const std::string& dataFile, const std::string& reportName) override;

private:
    Console& console;
};

} // namespace korvel
