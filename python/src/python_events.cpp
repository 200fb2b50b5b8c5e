#include "python_events.h"

#include <pybind11/pybind11.h>

namespace korvel::python {

void SignalCheck::advance(long long)
{
    pybind11::gil_scoped_acquire gil;
    if (PyErr_CheckSignals() != 0)
        throw Interrupted();
}

} // namespace korvel::python
