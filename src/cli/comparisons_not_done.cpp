#include "cli/comparisons_not_done.h"

#include <iomanip>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>

namespace korvel {

namespace {
// "(NAME p = P, RELATION the critical p C)".
std::string pAgainst(const char* name, double p, const char* relation, double criticalP)
{
    std::ostringstream text;
    text << std::setprecision(4) << "(" << name << "p = " << p << ", " << relation << " the critical p " << criticalP
         << ")";
    return text.str();
}
} // namespace

std::vector<NotDone> whatWasNotDone(const AnalysisRequest& r, const AnalysisResults& results)
{
    std::vector<NotDone> notDone;
    const char* elevation = r.elevationPairs ? "--elevation-pairs" : "--elevation";
    const char* shift = r.shiftPairs ? "--shift-pairs" : "--shift";
    const std::pair<bool, const char*> ofTheLines[] = {{r.elevation, elevation}, {r.shift, shift},
                                                       {!r.saveFile.empty(), "--save"}};
    const double critical = r.settings.criticalP;
    const auto& test = results.commonSlopeTest;
    if (!test) {
        for (const auto& [asked, option] : {std::pair{r.slopePairs, "--slope-pairs"}, ofTheLines[0], ofTheLines[1],
                                            ofTheLines[2]})
            if (asked && results.groups.size() == 1)
                notDone.push_back({option, "a single group has no common slope to compare with"});
        return notDone;
    }
    if (test->common && r.slopePairs)
        notDone.push_back(
            {"--slope-pairs", "the slopes do not differ " + pAgainst("common-slope ", test->p, "above", critical)});
    for (const auto& [asked, option] : ofTheLines)
        if (!test->common && asked)
            notDone.push_back({option, "the slopes differ " + pAgainst("common-slope ", test->p, "not above", critical)});
    for (const ShiftTest& t : results.shiftTests) {
        const bool elevationTest = t.axis == ScoreAxis::Residual;
        if (!t.pairs && (elevationTest ? r.elevationPairs : r.shiftPairs) && !(t.wald.p < critical))
            notDone.push_back({elevationTest ? "--elevation-pairs" : "--shift-pairs",
                               std::string(elevationTest ? "no shift in elevation " : "no shift along the common slope ") +
                                   pAgainst("", t.wald.p, "not below", critical)});
    }
    return notDone;
}

void sayWhatWasNotDone(const std::vector<NotDone>& notDone)
{
    for (const NotDone& n : notDone)
        std::cerr << "korvel: " << n.option << " not done: " << n.reason << std::endl;
}

} // namespace korvel
