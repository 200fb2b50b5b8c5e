// The answers an analysis needs where it branches: the measurement-error
// variances, whether to run the comparisons, and what to do with the lines
// that share the common slope. The console asks the user; the command line
// gives its options.
#pragma once

#include <string>

#include "korvel/settings.h"

namespace korvel {

// What to do next with the lines that share the common slope.
enum class LinesAction { Save, Elevation, Shift, Exit, Other };

class AnalysisChoices {
public:
    virtual ~AnalysisChoices() = default;
    // The error variance of the named variable (X first, then Y), not negative.
    virtual double errorVariance(Transform transform, const std::string& name) = 0;
    // Whether to compare every pair of groups' slopes after the slopes differ.
    virtual bool compareSlopes() = 0;
    // Whether to compare the lines that share the common slope.
    virtual bool compareLines() = 0;
    virtual LinesAction nextAction(bool hasIntercept) = 0;
    // Whether to compare every pair of groups after a significant shift.
    virtual bool compareShiftPairs() = 0;
    // The name of the transformed-data file: neither the data file nor the report.
    virtual std::string transformedFileName(const std::string& dataFile, const std::string& reportName) = 0;
};

} // namespace korvel
