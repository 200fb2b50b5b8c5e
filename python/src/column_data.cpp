#include "column_data.h"

#include <sstream>

#include "packages/option_values.h"
#include "packages/outcome_notes.h"
#include "python_events.h"

namespace korvel::python {

namespace py = pybind11;

namespace {
NumberColumnView viewOf(const std::string& name, const Numbers& values)
{
    return {name, values.data(), static_cast<std::size_t>(values.size())};
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
        request.filters.push_back(filterOf(filter, "[variable, value] or [variable, min, max]"));
    SignalCheck signals;
    DataHandle handle;
    {
        py::gil_scoped_release released;
        handle.data = dataFromFile(path, request, signals);
    }
    handle.notes = readingNotes(handle.data, path);
    return handle;
}

} // namespace korvel::python
