// NumPy arrays over the document's memory (read-only views kept alive by their owner) or as
// single copies, and the result of processing.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

namespace chromiva::python {

namespace py = pybind11;

// A capsule that holds `owner` for as long as an array that views its memory lives.
py::capsule Keeper(std::shared_ptr<const void> owner);

// A read-only array of `shape` over `data` with byte `strides`, kept alive by `base`.
template <typename T>
py::array ReadOnlyView(const T* data, std::vector<py::ssize_t> shape,
                       std::vector<py::ssize_t> strides, py::handle base) {
  py::array view(py::dtype::of<T>(), std::move(shape), std::move(strides), data, base);
  view.attr("flags").attr("writeable") = false;
  return view;
}

// A fresh array holding a copy of `count` values.
template <typename T>
py::array_t<T> CopyOf(const T* data, std::size_t count) {
  py::array_t<T> copy(static_cast<py::ssize_t>(count));
  std::copy(data, data + count, copy.mutable_data());
  return copy;
}

// The display grid's wavelengths, 340 to 850 nm.
py::array_t<float> GridWavelengths();

// Spectra on the display grid and, in the reflectance and transmittance modes, the ratio to
// the white or 100 % transmission reference in percent.
struct Processed {
  py::array wavelengths;
  py::array spectrum;
  py::object ratio;
};

void BindProcessed(py::module_& m);

}  // namespace chromiva::python
