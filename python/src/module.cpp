// The chromiva Python module: data files as NumPy arrays and pandas tables, and instruments.
#include <pybind11/pybind11.h>

#include "arrays.h"
#include "document_binding.h"
#include "errors.h"
#include "instrument_binding.h"

PYBIND11_MODULE(chromiva, m) {
  m.doc() = R"(Chromiva's data files and instruments from Python.

    chromiva.load(path)        a data file as a Document (arrays are NumPy views)
    chromiva.save(doc, path)   the program's atomic save
    chromiva.detect()          the instruments, as chromiva-cli devices lists them
    chromiva.Spectrometer()    a spectrometer: spectrum(), processed(), exposure_ms

Set WRENLINK_SIMULATOR (e.g. "spectrometer,spectrometer") to use simulated instruments.)";
  m.attr("__version__") = CHROMIVA_VERSION;
  chromiva::python::BindErrors(m);
  chromiva::python::BindProcessed(m);
  chromiva::python::BindDocument(m);
  chromiva::python::BindInstruments(m);
}
