#include "column_data.h"

#include <sstream>

#include "data/number_text.h"
#include "korvel/errors.h"
#include "python_events.h"
#include "report/console_messages.h"

namespace korvel::python {

namespace py = pybind11;

namespace {
NumberColumnView viewOf(const std::string& name, const Numbers& values)
{
    return {name, values.data(), static_cast<std::size_t>(values.size())};
}

FilterRequest filterOf(const std::vector<std::string>& filter)
{
    if (filter.size() == 2)
        return {filter[0], filter[1], "", "", false};
    if (filter.size() != 3)
        throw RequestError("a filter is [variable, value] or [variable, min, max]");
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
} // namespace

DataHandle columnsData(const std::string& yName, const Numbers& y, const std::string& xName, const Numbers& x,
                       const std::vector<GroupColumn>& groups, const std::string& source)
{
    ColumnsView view{viewOf(yName, y), viewOf(xName, x), {}, source};
    for (const auto& [name, codes, levels] : groups)
        view.groups.push_back({name, codes.data(), static_cast<std::size_t>(codes.size()), levels});
    py::gil_scoped_release released;
    return {dataFromColumns(view), {}};
}

DataHandle fileData(const std::string& path, const std::string& y, const std::string& x,
                    const std::vector<std::string>& groups, const std::vector<std::vector<std::string>>& filters,
                    const std::string& format)
{
    DataRequest request{y, x, groups, {}, formatOf(format)};
    for (const std::vector<std::string>& filter : filters)
        request.filters.push_back(filterOf(filter));
    SignalCheck signals;
    DataHandle handle;
    {
        py::gil_scoped_release released;
        handle.data = dataFromFile(path, request, signals);
    }
    std::ostringstream warning;
    writeShortRecordsWarning(warning, handle.data.shortRecords, path, handle.data.headerCells);
    if (!warning.str().empty())
        handle.notes.push_back(warning.str().substr(0, warning.str().size() - 1));
    return handle;
}

} // namespace korvel::python
