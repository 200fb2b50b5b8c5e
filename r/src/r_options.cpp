#include <climits>
#include <cmath>

#include "packages/option_values.h"
#include "r_glue.h"

namespace korvel::r {

namespace {
// The option's value, when it is a single value of R's type: RequestError otherwise.
SEXP single(const char* keyword, SEXP value, SEXPTYPE type, const char* what)
{
    if (TYPEOF(value) != type || Rf_xlength(value) != 1)
        throw RequestError(std::string(keyword) + ": not " + what);
    return value;
}

bool flag(const char* keyword, SEXP value)
{
    const int set = LOGICAL(single(keyword, value, LGLSXP, "TRUE or FALSE"))[0];
    if (set == NA_LOGICAL)
        throw RequestError(std::string(keyword) + ": TRUE or FALSE, not NA");
    return set != 0;
}

std::string text(const char* keyword, SEXP value)
{
    const SEXP word = STRING_ELT(single(keyword, value, STRSXP, "a single string"), 0);
    if (word == NA_STRING)
        throw RequestError(std::string(keyword) + ": a string, not NA");
    return CHAR(word);
}

// A number given as a double or an integer (NA: NaN).
double real(const char* keyword, SEXP value)
{
    if (TYPEOF(value) == INTSXP && Rf_xlength(value) == 1)
        return INTEGER(value)[0] == NA_INTEGER ? NAN : INTEGER(value)[0];
    return REAL(single(keyword, value, REALSXP, "a single number"))[0];
}

// A finite number, and not below low.
double number(const char* keyword, SEXP value, double low = -INFINITY)
{
    const double number = real(keyword, value);
    if (!std::isfinite(number) || number < low) {
        std::ostringstream range;
        range << keyword << " " << number << ": not a number";
        if (std::isfinite(low))
            range << " from " << low << " up";
        throw RequestError(range.str());
    }
    return number;
}

// A whole number, as R writes one (200 or 200L).
int whole(const char* keyword, SEXP value)
{
    const double number = real(keyword, value);
    if (!(std::abs(number) <= INT_MAX) || number != std::trunc(number)) {
        std::ostringstream why;
        why << keyword << " " << number << ": not a whole number";
        throw RequestError(why.str());
    }
    return static_cast<int>(number);
}


using Setter = void (*)(Request&, const char*, SEXP);

const std::pair<const char*, Setter> keywords[] = {
    {"method", [](Request& r, const char* k, SEXP v) { r.settings.method = wordOf(k, text(k, v), methodNames); }},
    {"transform",
     [](Request& r, const char* k, SEXP v) { r.settings.transform = wordOf(k, text(k, v), transformNames); }},
    {"through_origin", [](Request& r, const char* k, SEXP v) { r.settings.intercept = !flag(k, v); }},
    {"robust", [](Request& r, const char* k, SEXP v) { r.settings.robust = flag(k, v); }},
    {"error_x", [](Request& r, const char* k, SEXP v) { r.errors.x = number(k, v, 0); }},
    {"error_y", [](Request& r, const char* k, SEXP v) { r.errors.y = number(k, v, 0); }},
    {"confidence", [](Request& r, const char* k, SEXP v) { r.settings.confidence = confidencePercentOf(k, real(k, v)); }},
    {"min_group_size", [](Request& r, const char* k, SEXP v) { r.settings.minGroupSize = whole(k, v); }},
    {"chi_squared",
     [](Request& r, const char* k, SEXP v) {
         r.settings.pvalueFrom = flag(k, v) ? PValueFrom::ChiSquared : PValueFrom::Resampling;
     }},
    {"iterations", [](Request& r, const char* k, SEXP v) { r.settings.iterations = whole(k, v); }},
    {"critical_p", [](Request& r, const char* k, SEXP v) { r.settings.criticalP = real(k, v); }},
    {"adjust",
     [](Request& r, const char* k, SEXP v) { r.settings.adjustment = wordOf(k, text(k, v), adjustmentNames); }},
    {"slope_h0", [](Request& r, const char* k, SEXP v) { r.settings.slopeH0 = number(k, v); }},
    {"intercept_h0", [](Request& r, const char* k, SEXP v) { r.settings.interceptH0 = number(k, v); }},
    {"slope_pairs", [](Request& r, const char* k, SEXP v) { r.slopePairs = flag(k, v); }},
    {"elevation", [](Request& r, const char* k, SEXP v) { r.elevation = flag(k, v); }},
    {"elevation_pairs", [](Request& r, const char* k, SEXP v) { r.elevationPairs = flag(k, v); }},
    {"shift", [](Request& r, const char* k, SEXP v) { r.shift = flag(k, v); }},
    {"shift_pairs", [](Request& r, const char* k, SEXP v) { r.shiftPairs = flag(k, v); }},
    {"save", [](Request& r, const char* k, SEXP v) { r.saveFile = text(k, v); }},
};

Setter setterOf(const std::string& keyword)
{
    for (const auto& [name, setter] : keywords)
        if (keyword == name)
            return setter;
    throw RequestError("unknown option " + keyword);
}
} // namespace

Request requestOf(const Rcpp::List& options)
{
    Request request;
    const Rcpp::CharacterVector names = options.names();
    bool errorX = false, errorY = false;
    for (R_xlen_t i = 0; i < options.size(); ++i) {
        const std::string keyword = Rcpp::as<std::string>(names[i]);
        const Setter set = setterOf(keyword);
        if (Rf_isNull(options[i]))
            continue;
        set(request, keyword.c_str(), options[i]);
        errorX = errorX || keyword == "error_x";
        errorY = errorY || keyword == "error_y";
    }
    if (errorX != errorY)
        throw RequestError("options error_x and error_y go together");
    request.settings.measurementError = errorX;
    checkRequest(request);
    return request;
}

std::optional<std::uint32_t> seedOf(SEXP seed)
{
    if (Rf_isNull(seed))
        return std::nullopt;
    const double value = real("seed", seed);
    if (!(value >= 1 && value <= UINT32_MAX) || value != std::trunc(value)) {
        std::ostringstream why;
        why << "seed " << value << ": not a whole number from 1 to " << UINT32_MAX;
        throw RequestError(why.str());
    }
    return static_cast<std::uint32_t>(value);
}

} // namespace korvel::r
