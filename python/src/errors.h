// The module's exceptions: refused data files and instrument faults.
#pragma once

#include <pybind11/pybind11.h>

#include <string>

#include "chromiva/acquisition/instrument_fault.h"
#include "chromiva/data/data_file.h"

namespace chromiva::python {

namespace py = pybind11;

void BindErrors(py::module_& m);

// Raises FileFormatError for a refused data file, FileNotFoundError when `path` does not exist
// and OSError when it cannot be opened or read; the message is the loader's.
[[noreturn]] void RaiseFileError(const data::DataFileResult& result, const std::string& path);

// Raises OSError for a save that failed, with the saver's message.
[[noreturn]] void RaiseSaveError(const data::DataFileResult& result);

// Raises InstrumentFault naming the sensor (serial number and device index) and the reason.
[[noreturn]] void RaiseInstrumentFault(acquisition::FaultKind kind, const std::string& serial,
                                       int deviceIndex, int received, int expected);

}  // namespace chromiva::python
