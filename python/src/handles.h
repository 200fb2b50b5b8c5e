// What the package's objects hold between calls, each giving its results as
// the results file's JSON document with its notes: the engine's messages and
// what was asked for and did not apply, with why.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "column_data.h"
#include "korvel/korvel.h"

namespace korvel::python {

struct Outcome {
    std::string document;
    std::vector<std::string> notes; // "keyword: reason" for what did not apply
};

// The analysis a run from options with these keyword options makes of the
// data, the resampling seeded as given (none: the stream of 1).
Outcome analyseData(const DataHandle& data, const pybind11::dict& options, pybind11::handle seed);

// The lines of the data's groups.
class FitHandle {
public:
    FitHandle(const DataHandle& data, const pybind11::dict& options);
    Outcome outcome() const;
    // The group's points as analysed (transformed), X and Y.
    std::pair<pybind11::array_t<double>, pybind11::array_t<double>> points(std::size_t group) const;
    const Analysis& analysis() const { return fitted; }

private:
    Analysis fitted; // its data and fit
};

// A test for a common slope, with the stream as the test left it: its pairs
// of slopes continue that stream, the same on every call.
class CommonSlopeHandle {
public:
    CommonSlopeHandle(const Analysis& fitted, PValueFrom pvalueFrom, int iterations, double criticalP,
                      std::optional<std::uint32_t> seed);
    Outcome outcome() const;
    Outcome slopePairs(const std::string& adjust) const;
    // The Wald test "elevation" or "shift" of the lines with the common slope.
    Outcome shiftTest(const std::string& test, bool pairs, const std::string& adjust) const;

private:
    Analysis tested;    // the fit with the test's settings, and the test
    RandomStream after; // the stream as the test left it
    std::optional<std::uint32_t> seed;
    std::vector<std::string> messages; // the engine's, during the test
};

// The test of the fit's groups, or why there is none (fewer than two groups).
std::variant<CommonSlopeHandle, std::string> commonSlopeTest(const FitHandle& fit, bool chiSquared, int iterations,
                                                             double criticalP, pybind11::handle seed);

} // namespace korvel::python
