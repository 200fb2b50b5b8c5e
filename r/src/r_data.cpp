#include "data/number_text.h"
#include "r_glue.h"
#include "report/plain_nan.h"

namespace korvel::r {

void InterruptCheck::advance(long long)
{
    // R's own check, run where its long jump cannot cross the engine's frames.
    if (!R_ToplevelExec([](void*) { R_CheckUserInterrupt(); }, nullptr))
        throw Interrupted();
}

REvents::REvents() : MessageWriter(text, MessageStyle::Options)
{
    writeNaNPlainly(text);
}

std::vector<std::string> REvents::messages() const
{
    std::vector<std::string> lines;
    std::istringstream all(text.str());
    for (std::string line; std::getline(all, line);)
        lines.push_back(line);
    return lines;
}

namespace {
FilterRequest filterOf(const std::vector<std::string>& filter)
{
    if (filter.size() == 2)
        return {filter[0], filter[1], "", "", false};
    if (filter.size() != 3)
        throw RequestError("a filter is c(variable, value) or c(variable, min, max)");
    const auto min = decimalValue(filter[1]), max = decimalValue(filter[2]);
    if (!min || !max || !(*min < *max))
        throw RequestError("range " + filter[0] + "=" + filter[1] + ":" + filter[2] +
                           ": not two numbers, the minimum below the maximum");
    return {filter[0], "", filter[1], filter[2], true};
}

DataFormat formatOf(const std::string& word)
{
    if (word.empty())
        return DataFormat::ByContent;
    if (const auto format = valueOfOption(dataFormatNames, word))
        return *format;
    throw RequestError("format " + word + ": not one of " + optionWords(dataFormatNames));
}

Data fileData(const Rcpp::List& source, std::vector<std::string>& notes)
{
    const std::string path = Rcpp::as<std::string>(source["file"]);
    DataRequest request{Rcpp::as<std::string>(source["y"]), Rcpp::as<std::string>(source["x"]),
                        Rcpp::as<std::vector<std::string>>(source["groups"]),
                        {},
                        formatOf(Rcpp::as<std::string>(source["format"]))};
    for (SEXP filter : Rcpp::List(source["filters"]))
        request.filters.push_back(filterOf(Rcpp::as<std::vector<std::string>>(filter)));
    InterruptCheck interrupts;
    Data data = dataFromFile(path, request, interrupts);
    std::ostringstream warning;
    writeShortRecordsWarning(warning, data.shortRecords, path, data.headerCells);
    if (!warning.str().empty())
        notes.push_back(warning.str().substr(0, warning.str().size() - 1));
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
