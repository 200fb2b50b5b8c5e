#include "handles.h"

#include <algorithm>
#include <sstream>

#include "packages/outcome_notes.h"
#include "python_events.h"
#include "request_options.h"

namespace korvel::python {

namespace py = pybind11;

namespace {
py::array_t<double> arrayOf(const std::vector<double>& values)
{
    return py::array_t<double>(static_cast<py::ssize_t>(values.size()), values.data());
}
} // namespace

Outcome analyseData(const DataHandle& data, const py::dict& options, py::handle seedObject)
{
    const Request request = requestOf(options);
    const std::optional<std::uint32_t> seed = seedOf(seedObject);
    PythonEvents events;
    RandomStream random(seed.value_or(1));
    Analysis analysis;
    {
        py::gil_scoped_release released;
        analysis = analyse(data.data, request, random, events);
    }
    const std::vector<NotDone> notDone = whatWasNotDone(request, analysis);
    Outcome outcome{resultsDocument(analysis, seed, notDone), events.messages()};
    append(outcome.notes, emptyFitNotes(analysis.fit));
    append(outcome.notes, notDoneNotes(notDone));
    return outcome;
}

FitHandle::FitHandle(const DataHandle& data, const py::dict& options)
{
    const Request request = requestOf(options);
    fitted.data = data.data;
    py::gil_scoped_release released;
    fitted.fit = fit(data.data, request.settings, request.errors);
}

Outcome FitHandle::outcome() const
{
    return {resultsDocument(fitted), emptyFitNotes(fitted.fit)};
}

std::pair<py::array_t<double>, py::array_t<double>> FitHandle::points(std::size_t group) const
{
    if (group >= fitted.fit.lines.size())
        throw py::index_error("no group " + std::to_string(group));
    const PointsView points = fitted.fit.pointsOf(group);
    return {arrayOf(points.x), arrayOf(points.y)};
}

CommonSlopeHandle::CommonSlopeHandle(const Analysis& fitted, PValueFrom pvalueFrom, int iterations, double criticalP,
                                     std::optional<std::uint32_t> seed)
    : tested(fitted), after(seed.value_or(1)), seed(seed)
{
    AnalysisSettings& settings = tested.fit.settings;
    settings.pvalueFrom = pvalueFrom;
    settings.iterations = iterations;
    settings.criticalP = criticalP;
    const std::vector<std::string> problems = settingsProblems(settings);
    if (!problems.empty())
        throw RequestError(problems.front());
    PythonEvents events;
    {
        py::gil_scoped_release released;
        tested.commonSlope = korvel::testCommonSlope(tested.fit, pvalueFrom, iterations, criticalP, after, events);
    }
    messages = events.messages();
}

Outcome CommonSlopeHandle::outcome() const
{
    return {resultsDocument(tested, seed), messages};
}

Outcome CommonSlopeHandle::slopePairs(const std::string& adjust) const
{
    Analysis pairs = tested;
    Request asked;
    asked.settings = pairs.fit.settings;
    asked.settings.adjustment = wordOf("adjust", adjust, adjustmentNames);
    asked.slopePairs = true;
    Outcome outcome{"", notDoneNotes(whatWasNotDone(asked, pairs))};
    if (!pairs.commonSlope->common) {
        PythonEvents events;
        RandomStream random = after;
        {
            py::gil_scoped_release released;
            pairs.slopePairs = compareSlopes(pairs.fit, *pairs.commonSlope, asked.settings.adjustment, random, events);
        }
        append(outcome.notes, events.messages());
    }
    outcome.document = resultsDocument(pairs, seed);
    return outcome;
}

Outcome CommonSlopeHandle::shiftTest(const std::string& test, bool pairs, const std::string& adjust) const
{
    const ScoreAxis axis = wordOf("test", test, scoreAxisNames);
    const PAdjustment adjustment = wordOf("adjust", adjust, adjustmentNames);
    const bool elevation = axis == ScoreAxis::Residual;
    Request asked;
    asked.settings = tested.fit.settings;
    (elevation ? asked.elevation : asked.shift) = true;
    (elevation ? asked.elevationPairs : asked.shiftPairs) = pairs;
    checkRequest(asked);
    Analysis lines = tested;
    const double criticalP = asked.settings.criticalP;
    if (lines.commonSlope->common) {
        const LinesWithCommonSlope& common = lines.lines.emplace(linesWithCommonSlope(lines.fit, *lines.commonSlope));
        WaldTest& wald = lines.waldTests.emplace_back(testShift(lines.fit, common, axis, criticalP, false));
        if (pairs && wald.p < criticalP)
            wald.pairs = compareShifts(lines.fit, common, axis, criticalP, adjustment);
    }
    return {resultsDocument(lines, seed), notDoneNotes(whatWasNotDone(asked, lines))};
}

std::variant<CommonSlopeHandle, std::string> commonSlopeTest(const FitHandle& fit, bool chiSquared, int iterations,
                                                             double criticalP, py::handle seed)
{
    const Fit& fitted = fit.analysis().fit;
    if (fitted.lines.empty())
        return "common_slope_test: " + emptyFitNotes(fitted).front();
    if (fitted.lines.size() == 1) {
        Request asked;
        asked.slopePairs = true;
        return "common_slope_test: " + whatWasNotDone(asked, fit.analysis()).front().reason;
    }
    return CommonSlopeHandle(fit.analysis(), chiSquared ? PValueFrom::ChiSquared : PValueFrom::Resampling, iterations,
                             criticalP, seedOf(seed));
}

} // namespace korvel::python
