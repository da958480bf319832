#include "arrays.h"

#include "chromiva/data/processing.h"

namespace chromiva::python {

py::capsule Keeper(std::shared_ptr<const void> owner) {
  auto* held = new std::shared_ptr<const void>(std::move(owner));
  return py::capsule(
      held, [](void* pointer) { delete static_cast<std::shared_ptr<const void>*>(pointer); });
}

py::array_t<float> GridWavelengths() {
  py::array_t<float> grid(data::kGridSamples);
  float* out = grid.mutable_data();
  for (int i = 0; i < data::kGridSamples; ++i) out[i] = static_cast<float>(data::kGridStartNm + i);
  return grid;
}

void BindProcessed(py::module_& m) {
  py::class_<Processed>(m, "Processed", R"(Spectra on the display grid (340 to 850 nm, 1 nm apart).

Attributes:
    wavelengths: the 511 grid wavelengths in nm (float32).
    spectrum: the dark-corrected spectra on the grid, float32; one row per record for a
        document, one spectrum for an instrument.
    ratio: in the reflectance (1) and transmittance (2) modes the spectra in percent of the
        white or 100 % transmission reference, shaped like `spectrum`; None in mode 0.)")
      .def_readonly("wavelengths", &Processed::wavelengths)
      .def_readonly("spectrum", &Processed::spectrum)
      .def_readonly("ratio", &Processed::ratio)
      .def("__repr__", [](const Processed& p) {
        return "<chromiva.Processed spectrum " +
               py::str(p.spectrum.attr("shape")).cast<std::string>() +
               (p.ratio.is_none() ? std::string(", no ratio>") : std::string(", with ratio>"));
      });
}

}  // namespace chromiva::python
