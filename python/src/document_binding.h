// Data files in Python: load, the sensors' tables and records as arrays, processing, the tidy
// table and the atomic save.
#pragma once

#include <pybind11/pybind11.h>

namespace chromiva::python {

void BindDocument(pybind11::module_& m);

}  // namespace chromiva::python
