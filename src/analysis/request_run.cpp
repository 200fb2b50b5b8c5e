// A run without questions as its request asks, with no report: what a run
// from options finds, for the packages' mirror of the command line; and what
// such a run was asked for and could not do.
#include <iomanip>
#include <sstream>
#include <utility>

#include "analysis/analysis_run.h"
#include "analysis/request_choices.h"
#include "korvel/errors.h"

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

void checkRequest(const Request& request)
{
    const std::vector<std::string> problems = settingsProblems(request.settings);
    if (!problems.empty())
        throw RequestError(problems.front());
    if ((request.elevation || request.elevationPairs) && !request.settings.intercept)
        throw RequestError("option --elevation: not possible for lines fitted through the origin");
    if (request.settings.interceptH0 && !request.settings.intercept)
        throw RequestError("option --intercept-h0: not possible for lines fitted through the origin");
}

Analysis analyse(const Data& data, const Request& request, RandomStream& random, AnalysisEvents& events)
{
    checkRequest(request);
    Request asked = request;
    asked.elevation = request.elevation || request.elevationPairs;
    asked.shift = request.shift || request.shiftPairs;
    RequestChoices choices(asked);
    std::ostream nowhere(nullptr);
    AnalysisStreams streams{nowhere, nowhere, nowhere, events, ""};
    return runAnalysis(request.settings, data, choices, streams, random);
}

std::vector<NotDone> whatWasNotDone(const Request& r, const Analysis& analysis)
{
    std::vector<NotDone> notDone;
    const bool elevationAsked = r.elevation || r.elevationPairs, shiftAsked = r.shift || r.shiftPairs;
    const char* elevation = r.elevationPairs ? "--elevation-pairs" : "--elevation";
    const char* shift = r.shiftPairs ? "--shift-pairs" : "--shift";
    const std::pair<bool, const char*> ofTheLines[] = {{elevationAsked, elevation}, {shiftAsked, shift},
                                                       {!r.saveFile.empty(), "--save"}};
    const double critical = r.settings.criticalP;
    const auto& test = analysis.commonSlope;
    if (!test) {
        for (const auto& [asked, option] : {std::pair{r.slopePairs, "--slope-pairs"}, ofTheLines[0], ofTheLines[1],
                                            ofTheLines[2]})
            if (asked && analysis.fit.lines.size() == 1)
                notDone.push_back({option, "a single group has no common slope to compare with"});
        return notDone;
    }
    if (test->common && r.slopePairs)
        notDone.push_back(
            {"--slope-pairs", "the slopes do not differ " + pAgainst("common-slope ", test->p, "above", critical)});
    for (const auto& [asked, option] : ofTheLines)
        if (!test->common && asked)
            notDone.push_back({option, "the slopes differ " + pAgainst("common-slope ", test->p, "not above", critical)});
    for (const WaldTest& t : analysis.waldTests) {
        const bool elevationTest = t.axis == ScoreAxis::Residual;
        if (!t.pairs && (elevationTest ? r.elevationPairs : r.shiftPairs) && !(t.p < critical))
            notDone.push_back({elevationTest ? "--elevation-pairs" : "--shift-pairs",
                               std::string(elevationTest ? "no shift in elevation " : "no shift along the common slope ") +
                                   pAgainst("", t.p, "not below", critical)});
    }
    return notDone;
}

} // namespace korvel
