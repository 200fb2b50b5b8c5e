#include "app/comparisons_not_done.h"

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

void sayWhatWasNotDone(const AnalysisRequest& r, const AnalysisResults& results)
{
    const auto notDone = [](const char* option, const std::string& why) {
        std::cerr << "korvel: " << option << " not done: " << why << std::endl;
    };
    const char* elevation = r.elevationPairs ? "--elevation-pairs" : "--elevation";
    const char* shift = r.shiftPairs ? "--shift-pairs" : "--shift";
    const double critical = r.settings.criticalP;
    const auto& test = results.commonSlopeTest;
    if (!test) {
        for (const auto& [asked, option] :
             {std::pair{r.slopePairs, "--slope-pairs"}, std::pair{r.elevation, elevation}, std::pair{r.shift, shift}})
            if (asked && results.groups.size() == 1)
                notDone(option, "a single group has no common slope to compare with");
        return;
    }
    if (test->common && r.slopePairs)
        notDone("--slope-pairs", "the slopes do not differ " + pAgainst("common-slope ", test->p, "above", critical));
    for (const auto& [asked, option] : {std::pair{r.elevation, elevation}, std::pair{r.shift, shift}})
        if (!test->common && asked)
            notDone(option, "the slopes differ " + pAgainst("common-slope ", test->p, "not above", critical));
    for (const ShiftTest& t : results.shiftTests) {
        const bool elevationTest = t.axis == ScoreAxis::Residual;
        if (!t.pairs && (elevationTest ? r.elevationPairs : r.shiftPairs) && !(t.wald.p < critical))
            notDone(elevationTest ? "--elevation-pairs" : "--shift-pairs",
                    std::string(elevationTest ? "no shift in elevation " : "no shift along the common slope ") +
                        pAgainst("", t.wald.p, "not below", critical));
    }
}

} // namespace korvel
