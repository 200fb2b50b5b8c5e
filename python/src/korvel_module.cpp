// The compiled module korvel._korvel: the engine's data, fit and tests for
// the package's Python layer, which turns their documents into values.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include "column_data.h"
#include "data/version.h"
#include "handles.h"

namespace py = pybind11;
using namespace korvel;
using namespace korvel::python;

namespace {
// The engine's failures as Python's: a bad value ValueError, a file OSError,
// an interrupted call the KeyboardInterrupt its signal handler raised.
void translateErrors(std::exception_ptr thrown)
{
    try {
        std::rethrow_exception(thrown);
    } catch (const Interrupted&) {
        if (!PyErr_Occurred())
            PyErr_SetNone(PyExc_KeyboardInterrupt);
    } catch (const FileNotOpened& e) {
        PyErr_SetString(PyExc_OSError, (e.problem.empty() ? e.name + ": " + e.reason : e.problem).c_str());
    } catch (const RequestError& e) {
        PyErr_SetString(PyExc_ValueError, e.what());
    }
}
} // namespace

PYBIND11_MODULE(_korvel, m)
{
    m.doc() = "The KORVEL engine: data, fits and tests giving the results file's JSON document and notes.";
    m.attr("version") = programVersion;
    py::register_exception_translator(translateErrors);

    py::class_<Outcome>(m, "Outcome", "A call's results file document and its notes.")
        .def_readonly("document", &Outcome::document, "The JSON document.")
        .def_readonly("notes", &Outcome::notes, "The engine's messages; what did not apply, with why.");
    py::class_<DataHandle>(m, "Data", "Data ready for an analysis.")
        .def_readonly("notes", &DataHandle::notes, "Warnings of the reading.");
    m.def("columns_data", &columnsData, py::arg("y_name"), py::arg("y"), py::arg("x_name"), py::arg("x"),
          py::arg("groups"), py::arg("source"), "The data of Y, X and grouping columns (codes into levels).");
    m.def("file_data", &fileData, py::arg("path"), py::arg("y"), py::arg("x"), py::arg("groups"), py::arg("filters"),
          py::arg("format"), "The variables of a data file by name, with its filters.");
    m.def("analyse", &analyseData, py::arg("data"), py::arg("options"), py::arg("seed"), "A run from options.");

    py::class_<FitHandle>(m, "Fit", "The lines of the data's groups.")
        .def(py::init<const DataHandle&, const py::dict&>(), py::arg("data"), py::arg("options"))
        .def("outcome", &FitHandle::outcome, "The fit's results.")
        .def("points", &FitHandle::points, py::arg("group"), "A group's points as analysed: (x, y).");

    py::class_<CommonSlopeHandle>(m, "CommonSlope", "A test for a common slope and the stream it left.")
        .def("outcome", &CommonSlopeHandle::outcome, "The test's results.")
        .def("slope_pairs", &CommonSlopeHandle::slopePairs, py::arg("adjust"), "Every pair of slopes compared.")
        .def("shift_test", &CommonSlopeHandle::shiftTest, py::arg("test"), py::arg("pairs"), py::arg("adjust"),
             "A Wald test of the lines with the common slope.");
    m.def("common_slope", &commonSlopeTest, py::arg("fit"), py::arg("chi_squared"), py::arg("iterations"),
          py::arg("critical_p"), py::arg("seed"), "The test, or why there is none.");
}
