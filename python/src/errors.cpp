#include "errors.h"

#include <filesystem>

namespace chromiva::python {
namespace {

PyObject* fileFormatError = nullptr;
PyObject* instrumentFault = nullptr;

const char* Reason(acquisition::FaultKind kind) {
  switch (kind) {
    case acquisition::FaultKind::kUnplugged:
      return "unplugged";
    case acquisition::FaultKind::kNoAnswer:
      return "no answer";
    case acquisition::FaultKind::kShortAnswer:
      return "short answer";
    default:
      return "stopped";
  }
}

}  // namespace

void BindErrors(py::module_& m) {
  static py::exception<std::exception> format(m, "FileFormatError", PyExc_ValueError);
  format.doc() =
      "A data file that the program's loader refuses; the message names the problem and the "
      "byte where it was found.";
  fileFormatError = format.ptr();
  static py::exception<std::exception> fault(m, "InstrumentFault", PyExc_RuntimeError);
  fault.doc() =
      "An instrument that was unplugged, did not answer or answered short. Attributes: serial, "
      "index (the device index), reason ('unplugged', 'no answer' or 'short answer'), received "
      "and expected (bytes of the transfer).";
  instrumentFault = fault.ptr();
}

void RaiseFileError(const data::DataFileResult& result, const std::string& path) {
  const bool cannotOpen = result.error == data::DataFileError::kOpenFailed ||
                          result.error == data::DataFileError::kReadFailed;
  std::error_code error;
  PyObject* type = cannotOpen ? PyExc_OSError : fileFormatError;
  if (cannotOpen && !std::filesystem::exists(path, error)) type = PyExc_FileNotFoundError;
  PyErr_SetString(type, result.message.c_str());
  throw py::error_already_set();
}

void RaiseSaveError(const data::DataFileResult& result) {
  PyErr_SetString(PyExc_OSError, result.message.c_str());
  throw py::error_already_set();
}

void RaiseInstrumentFault(acquisition::FaultKind kind, const std::string& serial, int deviceIndex,
                          int received, int expected) {
  const std::string reason = Reason(kind);
  std::string message =
      "sensor " + serial + " at index " + std::to_string(deviceIndex) + ": " + reason;
  if (kind != acquisition::FaultKind::kUnplugged) {
    message += " (" + std::to_string(received) + " of " + std::to_string(expected) + " bytes)";
  }
  py::object fault = py::reinterpret_borrow<py::object>(instrumentFault)(message);
  fault.attr("serial") = serial;
  fault.attr("index") = deviceIndex;
  fault.attr("reason") = reason;
  fault.attr("received") = received;
  fault.attr("expected") = expected;
  PyErr_SetObject(instrumentFault, fault.ptr());
  throw py::error_already_set();
}

}  // namespace chromiva::python
