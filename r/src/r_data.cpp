#include "packages/option_values.h"
#include "packages/outcome_notes.h"
#include "r_glue.h"

namespace korvel::r {

void InterruptCheck::advance(long long)
{
    // R's own check, run where its long jump cannot cross the engine's frames.
    if (!R_ToplevelExec([](void*) { R_CheckUserInterrupt(); }, nullptr))
        throw Interrupted();
}

namespace {
Data fileData(const Rcpp::List& source, std::vector<std::string>& notes)
{
    const std::string path = Rcpp::as<std::string>(source["file"]);
    DataRequest request{Rcpp::as<std::string>(source["y"]), Rcpp::as<std::string>(source["x"]),
                        Rcpp::as<std::vector<std::string>>(source["groups"]),
                        {},
                        formatOf(Rcpp::as<std::string>(source["format"]))};
    for (SEXP filter : Rcpp::List(source["filters"]))
        request.filters.push_back(
            filterOf(Rcpp::as<std::vector<std::string>>(filter), "c(variable, value) or c(variable, min, max)"));
    InterruptCheck interrupts;
    Data data = dataFromFile(path, request, interrupts);
    append(notes, readingNotes(data, path));
    return data;
}

NumberColumnView viewOf(const std::string& name, const Rcpp::NumericVector& values)
{
    return {name, values.begin(), static_cast<std::size_t>(values.size())};
}

Data columnsData(const Rcpp::List& source)
{
    const Rcpp::NumericVector y = source["y"], x = source["x"];
    ColumnsView view{viewOf(Rcpp::as<std::string>(source["y_name"]), y), viewOf(Rcpp::as<std::string>(source["x_name"]), x), {},
                    Rcpp::as<std::string>(source["source"])};
    // The factors' codes from 0, missing ones negative, as the engine counts them.
    std::vector<std::vector<std::int32_t>> codes;
    for (SEXP column : Rcpp::List(source["groups"])) {
        const Rcpp::List group(column);
        const Rcpp::IntegerVector factor = group["codes"];
        std::vector<std::int32_t>& zeroBased = codes.emplace_back(factor.size());
        for (R_xlen_t i = 0; i < factor.size(); ++i)
            zeroBased[static_cast<std::size_t>(i)] = factor[i] == NA_INTEGER ? -1 : factor[i] - 1;
        view.groups.push_back({Rcpp::as<std::string>(group["name"]), zeroBased.data(), zeroBased.size(),
                               Rcpp::as<std::vector<std::string>>(group["levels"])});
    }
    return dataFromColumns(view);
}
} // namespace

Data dataOf(const Rcpp::List& source, std::vector<std::string>& notes)
{
    return source.containsElementNamed("file") ? fileData(source, notes) : columnsData(source);
}

} // namespace korvel::r
