#include "request_options.h"

#include <climits>
#include <cmath>
#include <sstream>

#include "packages/option_values.h"

namespace korvel::python {

namespace py = pybind11;

namespace {
bool flag(const char* keyword, py::handle value)
{
    return valueOf<bool>(keyword, value);
}

std::string text(const char* keyword, py::handle value)
{
    return valueOf<std::string>(keyword, value);
}

int whole(const char* keyword, py::handle value)
{
    return valueOf<int>(keyword, value);
}

// A finite number, and not below low.
double number(const char* keyword, py::handle value, double low = -INFINITY)
{
    const double number = valueOf<double>(keyword, value);
    if (!std::isfinite(number) || number < low) {
        std::ostringstream range;
        range << keyword << " " << number << ": not a number" << (std::isfinite(low) ? " from " : "");
        if (std::isfinite(low))
            range << low << " up";
        throw RequestError(range.str());
    }
    return number;
}

using Setter = void (*)(Request&, const char*, py::handle);

const std::pair<const char*, Setter> keywords[] = {
    {"method", [](Request& r, const char* k, py::handle v) { r.settings.method = wordOf(k, text(k, v), methodNames); }},
    {"transform",
     [](Request& r, const char* k, py::handle v) { r.settings.transform = wordOf(k, text(k, v), transformNames); }},
    {"through_origin", [](Request& r, const char* k, py::handle v) { r.settings.intercept = !flag(k, v); }},
    {"robust", [](Request& r, const char* k, py::handle v) { r.settings.robust = flag(k, v); }},
    {"error_x", [](Request& r, const char* k, py::handle v) { r.errors.x = number(k, v, 0); }},
    {"error_y", [](Request& r, const char* k, py::handle v) { r.errors.y = number(k, v, 0); }},
    {"confidence", [](Request& r, const char* k, py::handle v) { r.settings.confidence = confidencePercentOf(k, valueOf<double>(k, v)); }},
    {"min_group_size", [](Request& r, const char* k, py::handle v) { r.settings.minGroupSize = whole(k, v); }},
    {"chi_squared",
     [](Request& r, const char* k, py::handle v) {
         r.settings.pvalueFrom = flag(k, v) ? PValueFrom::ChiSquared : PValueFrom::Resampling;
     }},
    {"iterations", [](Request& r, const char* k, py::handle v) { r.settings.iterations = whole(k, v); }},
    {"critical_p", [](Request& r, const char* k, py::handle v) { r.settings.criticalP = valueOf<double>(k, v); }},
    {"adjust",
     [](Request& r, const char* k, py::handle v) { r.settings.adjustment = wordOf(k, text(k, v), adjustmentNames); }},
    {"slope_h0", [](Request& r, const char* k, py::handle v) { r.settings.slopeH0 = number(k, v); }},
    {"intercept_h0", [](Request& r, const char* k, py::handle v) { r.settings.interceptH0 = number(k, v); }},
    {"slope_pairs", [](Request& r, const char* k, py::handle v) { r.slopePairs = flag(k, v); }},
    {"elevation", [](Request& r, const char* k, py::handle v) { r.elevation = flag(k, v); }},
    {"elevation_pairs", [](Request& r, const char* k, py::handle v) { r.elevationPairs = flag(k, v); }},
    {"shift", [](Request& r, const char* k, py::handle v) { r.shift = flag(k, v); }},
    {"shift_pairs", [](Request& r, const char* k, py::handle v) { r.shiftPairs = flag(k, v); }},
    {"save", [](Request& r, const char* k, py::handle v) { r.saveFile = text(k, v); }},
};

Setter setterOf(const std::string& keyword)
{
    for (const auto& [name, setter] : keywords)
        if (keyword == name)
            return setter;
    throw py::type_error("unknown option " + keyword);
}
} // namespace

Request requestOf(const py::dict& options)
{
    Request request;
    for (const auto& [key, value] : options) {
        const std::string keyword = valueOf<std::string>("option", key);
        const Setter set = setterOf(keyword);
        if (!value.is_none())
            set(request, keyword.c_str(), value);
    }
    const auto given = [&options](const char* keyword) {
        return options.contains(keyword) && !options[keyword].is_none();
    };
    if (given("error_x") != given("error_y"))
        throw RequestError("options error_x and error_y go together");
    request.settings.measurementError = given("error_x");
    checkRequest(request);
    return request;
}

std::optional<std::uint32_t> seedOf(py::handle seed)
{
    if (seed.is_none())
        return std::nullopt;
    const long long value = valueOf<long long>("seed", seed);
    if (value < 1 || value > UINT32_MAX)
        throw RequestError("seed " + std::to_string(value) + ": not a whole number from 1 to " +
                           std::to_string(UINT32_MAX));
    return static_cast<std::uint32_t>(value);
}

} // namespace korvel::python
