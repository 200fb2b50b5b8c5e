#include "python_events.h"

#include <pybind11/pybind11.h>

#include "report/plain_nan.h"

namespace korvel::python {

void SignalCheck::advance(long long)
{
    pybind11::gil_scoped_acquire gil;
    if (PyErr_CheckSignals() != 0)
        throw Interrupted();
}

PythonEvents::PythonEvents() : MessageWriter(text, MessageStyle::Options)
{
    writeNaNPlainly(text);
}

std::vector<std::string> PythonEvents::messages() const
{
    std::vector<std::string> lines;
    std::istringstream all(text.str());
    for (std::string line; std::getline(all, line);)
        lines.push_back(line);
    return lines;
}

} // namespace korvel::python
