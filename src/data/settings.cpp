#include "korvel/settings.h"

namespace korvel {

namespace {
std::string range(double low, double high)
{
    const auto text = [](double v) {
        std::string t = std::to_string(v);
        t.erase(t.find_last_not_of('0') + 1);
        return t.back() == '.' ? t.substr(0, t.size() - 1) : t;
    };
    return text(low) + " to " + text(high);
}
} // namespace

std::vector<std::string> settingsProblems(const AnalysisSettings& s)
{
    const SettingLimits& l = settingLimits;
    std::vector<std::string> problems;
    if (!(s.confidence >= l.confidenceLow && s.confidence <= l.confidenceHighFromOptions))
        problems.push_back("confidence " + std::to_string(s.confidence) + ": not a whole percent from " +
                           range(l.confidenceLow, l.confidenceHighFromOptions));
    if (!(s.minGroupSize >= l.minGroupSizeLow && s.minGroupSize <= l.minGroupSizeHigh))
        problems.push_back("minimum group size " + std::to_string(s.minGroupSize) + ": not a whole number from " +
                           range(l.minGroupSizeLow, l.minGroupSizeHigh));
    if (!(s.iterations >= l.iterationsLow))
        problems.push_back("iterations " + std::to_string(s.iterations) + ": not a whole number from " +
                           std::to_string(l.iterationsLow) + " up");
    if (!(s.criticalP >= l.criticalPLow && s.criticalP <= l.criticalPHigh))
        problems.push_back("critical p " + std::to_string(s.criticalP) + ": not a number from " +
                           range(l.criticalPLow, l.criticalPHigh));
    return problems;
}

} // namespace korvel
