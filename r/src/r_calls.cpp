// The calls R makes with .Call: each returns the results file's JSON document
// with its notes (the engine's messages and what did not apply, with why), and
// a fit or a test keeps the engine's state in an external pointer, so that a
// test's pairs continue its stream.
#include <algorithm>
#include <R_ext/Rdynload.h>

#include "packages/outcome_notes.h"
#include "r_glue.h"

using namespace korvel;
using namespace korvel::r;

namespace {
// A test for a common slope with the stream as the test left it.
struct CommonSlopeState {
    Analysis tested; // the fit with the test's settings, and the test
    RandomStream after;
    std::optional<std::uint32_t> seed;
    std::vector<std::string> messages; // the engine's, during the test
};

using FitPointer = Rcpp::XPtr<Analysis>;
using TestPointer = Rcpp::XPtr<CommonSlopeState>;

Rcpp::List outcome(const std::string& document, const std::vector<std::string>& notes, SEXP handle = R_NilValue)
{
    return Rcpp::List::create(Rcpp::Named("document") = document, Rcpp::Named("notes") = notes,
                              Rcpp::Named("handle") = handle);
}

template <typename T> T& held(SEXP pointer)
{
    T* value = Rcpp::XPtr<T>(pointer).get();
    if (value == nullptr)
        throw RequestError("the object's engine state is gone (a saved object): make it again");
    return *value;
}

// The engine's failures as R's errors and interrupt.
template <typename Call> SEXP guarded(Call call)
{
    BEGIN_RCPP
    try {
        return call();
    } catch (const Interrupted&) {
        throw Rcpp::internal::InterruptedException();
    } catch (const FileNotOpened& e) {
        throw Rcpp::exception((e.problem.empty() ? e.name + ": " + e.reason : e.problem).c_str(), false);
    } catch (const Error& e) {
        throw Rcpp::exception(e.what(), false);
    }
    END_RCPP
}

SEXP analyseCall(SEXP source, SEXP options, SEXP seedValue)
{
    return guarded([&] {
        const Request request = requestOf(options);
        const std::optional<std::uint32_t> seed = seedOf(seedValue);
        std::vector<std::string> notes;
        const Data data = dataOf(source, notes);
        REvents events;
        RandomStream random(seed.value_or(1));
        const Analysis analysis = analyse(data, request, random, events);
        const std::vector<NotDone> notDone = whatWasNotDone(request, analysis);
        append(notes, events.messages());
        append(notes, emptyFitNotes(analysis.fit));
        append(notes, notDoneNotes(notDone));
        return outcome(resultsDocument(analysis, seed, notDone), notes);
    });
}

SEXP fitCall(SEXP source, SEXP options)
{
    return guarded([&] {
        const Request request = requestOf(options);
        std::vector<std::string> notes;
        FitPointer fitted(new Analysis);
        fitted->data = dataOf(source, notes);
        fitted->fit = fit(fitted->data, request.settings, request.errors);
        append(notes, emptyFitNotes(fitted->fit));
        return outcome(resultsDocument(*fitted), notes, fitted);
    });
}

// Each group's points as analysed (transformed) and their scores at the
// group's own slope, in the order the fit holds them.
SEXP pointsCall(SEXP handle)
{
    return guarded([&] {
        const Fit& fitted = held<Analysis>(handle).fit;
        const std::vector<GroupScores> scores = axisScores(fitted, std::nullopt);
        Rcpp::List groups;
        for (std::size_t g = 0; g < fitted.lines.size(); ++g) {
            const PointsView points = fitted.pointsOf(g);
            groups.push_back(Rcpp::List::create(
                Rcpp::Named("x") = points.x, Rcpp::Named("y") = points.y,
                Rcpp::Named("downweighted") = points.downweighted, Rcpp::Named("fitted") = scores[g].fitted,
                Rcpp::Named("residual") = scores[g].residual));
        }
        return groups;
    });
}

SEXP commonSlopeCall(SEXP handle, SEXP chiSquared, SEXP iterations, SEXP criticalP, SEXP seed)
{
    return guarded([&]() -> SEXP {
        const Analysis& fitted = held<Analysis>(handle);
        if (fitted.fit.lines.size() < 2) {
            Request asked;
            asked.slopePairs = true;
            const std::string why = fitted.fit.lines.empty() ? emptyFitNotes(fitted.fit).front()
                                                              : whatWasNotDone(asked, fitted).front().reason;
            return Rcpp::wrap("common_slope_test: " + why);
        }
        Rcpp::List options = Rcpp::List::create(Rcpp::Named("chi_squared") = chiSquared,
                                                Rcpp::Named("iterations") = iterations,
                                                Rcpp::Named("critical_p") = criticalP);
        const AnalysisSettings asked = requestOf(options).settings;
        TestPointer test(new CommonSlopeState{fitted, RandomStream(1), seedOf(seed), {}});
        test->after = RandomStream(test->seed.value_or(1));
        AnalysisSettings& settings = test->tested.fit.settings;
        settings.pvalueFrom = asked.pvalueFrom;
        settings.iterations = asked.iterations;
        settings.criticalP = asked.criticalP;
        const std::vector<std::string> problems = settingsProblems(settings);
        if (!problems.empty())
            throw RequestError(problems.front());
        REvents events;
        test->tested.commonSlope = testCommonSlope(test->tested.fit, settings.pvalueFrom, settings.iterations,
                                                   settings.criticalP, test->after, events);
        test->messages = events.messages();
        return outcome(resultsDocument(test->tested, test->seed), test->messages, test);
    });
}

SEXP slopePairsCall(SEXP handle, SEXP adjust)
{
    return guarded([&] {
        const CommonSlopeState& test = held<CommonSlopeState>(handle);
        Analysis pairs = test.tested;
        Request asked;
        asked.settings = pairs.fit.settings;
        asked.settings.adjustment = wordOf("adjust", Rcpp::as<std::string>(adjust), adjustmentNames);
        asked.slopePairs = true;
        std::vector<std::string> notes = notDoneNotes(whatWasNotDone(asked, pairs));
        if (!pairs.commonSlope->common) {
            REvents events;
            RandomStream random = test.after;
            pairs.slopePairs = compareSlopes(pairs.fit, *pairs.commonSlope, asked.settings.adjustment, random, events);
            append(notes, events.messages());
        }
        return outcome(resultsDocument(pairs, test.seed), notes);
    });
}

// The Wald test "elevation" or "shift" of the lines with the common slope.
SEXP shiftTestCall(SEXP handle, SEXP testName, SEXP pairsAsked, SEXP adjust)
{
    return guarded([&] {
        const CommonSlopeState& test = held<CommonSlopeState>(handle);
        const ScoreAxis axis = wordOf("test", Rcpp::as<std::string>(testName), scoreAxisNames);
        const PAdjustment adjustment = wordOf("adjust", Rcpp::as<std::string>(adjust), adjustmentNames);
        const bool elevation = axis == ScoreAxis::Residual, pairs = Rcpp::as<bool>(pairsAsked);
        Request asked;
        asked.settings = test.tested.fit.settings;
        (elevation ? asked.elevation : asked.shift) = true;
        (elevation ? asked.elevationPairs : asked.shiftPairs) = pairs;
        checkRequest(asked);
        Analysis lines = test.tested;
        const double criticalP = asked.settings.criticalP;
        if (lines.commonSlope->common) {
            const LinesWithCommonSlope& common =
                lines.lines.emplace(linesWithCommonSlope(lines.fit, *lines.commonSlope));
            WaldTest& wald = lines.waldTests.emplace_back(testShift(lines.fit, common, axis, criticalP, false));
            if (pairs && wald.p < criticalP)
                wald.pairs = compareShifts(lines.fit, common, axis, criticalP, adjustment);
        }
        return outcome(resultsDocument(lines, test.seed), notDoneNotes(whatWasNotDone(asked, lines)));
    });
}

SEXP versionCall()
{
    return Rcpp::wrap(std::string(KORVEL_VERSION));
}

const R_CallMethodDef calls[] = {
    {"korvel_analyse", reinterpret_cast<DL_FUNC>(&analyseCall), 3},
    {"korvel_fit", reinterpret_cast<DL_FUNC>(&fitCall), 2},
    {"korvel_points", reinterpret_cast<DL_FUNC>(&pointsCall), 1},
    {"korvel_common_slope", reinterpret_cast<DL_FUNC>(&commonSlopeCall), 5},
    {"korvel_slope_pairs", reinterpret_cast<DL_FUNC>(&slopePairsCall), 2},
    {"korvel_shift_test", reinterpret_cast<DL_FUNC>(&shiftTestCall), 4},
    {"korvel_version", reinterpret_cast<DL_FUNC>(&versionCall), 0},
    {nullptr, nullptr, 0},
};
} // namespace

extern "C" void R_init_korvel(DllInfo* dll)
{
    R_registerRoutines(dll, nullptr, calls, nullptr, nullptr);
    R_useDynamicSymbols(dll, FALSE);
    R_forceSymbols(dll, TRUE);
}
