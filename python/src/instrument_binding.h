// Instruments in Python: detection as `chromiva-cli devices` lists it, and spectrometers that
// measure raw and processed spectra.
#pragma once

#include <pybind11/pybind11.h>

namespace chromiva::python {

void BindInstruments(pybind11::module_& m);

}  // namespace chromiva::python
