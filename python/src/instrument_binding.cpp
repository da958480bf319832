#include "instrument_binding.h"

#include <pybind11/stl.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "arrays.h"
#include "chromiva/acquisition/calibration_io.h"
#include "chromiva/acquisition/instrument_fault.h"
#include "chromiva/data/document.h"
#include "chromiva/data/processing.h"
#include "chromiva/data/text_codec.h"
#include "errors.h"
#include "wrenlink.h"

namespace chromiva::python {
namespace {

using acquisition::FaultKind;

constexpr int kDeviceSlots = 10;
constexpr int kSerialLength = 8;
constexpr int kMaxExposureMs = 9500;

// A text reply (name, version) ends at the returned count or its first NUL.
std::string TextReply(int (*query)(int, unsigned char*, int), int index) {
  unsigned char buffer[35] = {};
  const int count = query(index, buffer, 34);
  std::string text(reinterpret_cast<char*>(buffer), static_cast<std::size_t>(std::max(count, 0)));
  return text.substr(0, text.find('\0'));
}

// The serial number's bytes as the instrument keeps them (up to 8, up to the first NUL).
std::optional<std::string> SerialBytes(int index) {
  unsigned char buffer[65] = {};
  if (GetDeviceSerialNo(index, buffer, 64) == 0) return std::nullopt;
  return std::string(reinterpret_cast<char*>(buffer)).substr(0, kSerialLength);
}

struct DeviceInfo {
  int index = 0;
  int kind = 0;
  std::string name;
  std::string version;
  std::optional<std::string> serial;
  std::optional<int> exposureUs;
};

// The devices that open Spectrometers hold, with what detection said of them: detecting
// again would reopen and then close them, so detection reports them from here. Detection and
// opening take the lock, so that they never probe the same index at once.
class HeldDevices {
 public:
  static std::mutex& Lock() {
    static std::mutex lock;
    return lock;
  }
  static std::map<int, DeviceInfo>& Held() {
    static std::map<int, DeviceInfo> held;
    return held;
  }
};

DeviceInfo Describe(int index) {
  DeviceInfo info{index,
                  GetDeviceKind(index),
                  TextReply(GetDeviceName, index),
                  TextReply(GetDeviceVersion, index),
                  std::nullopt,
                  std::nullopt};
  if (info.kind == WRENLINK_KIND_C12880MA) {
    info.serial = data::DisplayText(SerialBytes(index).value_or(""));
    double exposure = 0;
    GetDeviceExposure(index, &exposure);
    info.exposureUs = static_cast<int>(exposure);
  }
  return info;
}

std::vector<DeviceInfo> Detect() {
  std::vector<DeviceInfo> found;
  py::gil_scoped_release released;
  std::lock_guard<std::mutex> lock(HeldDevices::Lock());
  const auto& held = HeldDevices::Held();
  for (int index = 0; index < kDeviceSlots; ++index) {
    if (held.count(index) != 0) {
      found.push_back(held.at(index));
    } else if (DetectDevice(index) == 1) {
      found.push_back(Describe(index));
      CloseDevice(index);
    }
  }
  return found;
}

std::string DescribeDevice(const DeviceInfo& d) {
  std::string text = "<chromiva.DeviceInfo index " + std::to_string(d.index) + ", kind " +
                     std::to_string(d.kind) + ", " + d.name + " " + d.version;
  if (d.serial) text += ", serial " + *d.serial;
  if (d.exposureUs) text += ", exposure " + std::to_string(*d.exposureUs) + " us";
  return text + ">";
}

// ---------------------------------------------------------------- one spectrometer

class Spectrometer {
 public:
  Spectrometer(std::optional<int> index, std::optional<std::string> serial);
  ~Spectrometer() {
    std::lock_guard<std::mutex> lock(mutex_);
    CloseHeld();
  }
  Spectrometer(const Spectrometer&) = delete;
  Spectrometer& operator=(const Spectrometer&) = delete;

  void Close();
  int Index() const { return device_; }
  const data::SensorEntry& Entry() const { return doc_->Sensor(0); }
  std::string Serial() const { return data::DisplayText(Entry().serialNo); }
  int ExposureMs() const { return Entry().exposureUs / 1000; }
  void SetExposureMs(const py::object& milliseconds);
  double Temperature();
  py::array_t<float> Spectrum(int average);
  Processed Process(int average, int mode, bool waveComp);

 private:
  void CheckOpen() const;
  int CloseHeld();
  bool Matches(int index, const std::optional<std::string>& serial);
  void ReadInstrument();
  // Runs `transfer` without the GIL, one device call at a time.
  template <typename Transfer>
  auto Unlocked(Transfer transfer) -> decltype(transfer()) {
    py::gil_scoped_release released;
    std::lock_guard<std::mutex> lock(mutex_);
    return transfer();
  }
  // Raises InstrumentFault for a transfer that brought fewer than `expected` bytes. When
  // nothing came, a pending Ctrl-C wins over the probe that tells unplugged from silent.
  void CheckTransfer(int received, int expected);
  void AcquireFrames(int frames, data::PixelArray& averaged);

  std::unique_ptr<data::Ctintrose_mfDoc> doc_ = std::make_unique<data::Ctintrose_mfDoc>();
  std::unique_ptr<data::ProcessingState> state_ = std::make_unique<data::ProcessingState>();
  std::mutex mutex_;
  int device_ = -1;
  bool open_ = false;
};

Spectrometer::Spectrometer(std::optional<int> index, std::optional<std::string> serial) {
  for (int i = 0; i < kDeviceSlots && !open_; ++i) {
    if (index && *index != i) continue;
    open_ = Matches(i, serial);
  }
  if (!open_) {
    std::string wanted = "no spectrometer";
    if (index) wanted += " at index " + std::to_string(*index);
    if (serial) wanted += " with serial " + *serial;
    throw py::value_error(wanted + " found");
  }
  try {
    ReadInstrument();
  } catch (...) {
    CloseHeld();  // no object holds the device: close it before the fault reaches Python
    throw;
  }
}

bool Spectrometer::Matches(int index, const std::optional<std::string>& serial) {
  std::optional<std::string> bytes;
  return Unlocked([&] {
    std::lock_guard<std::mutex> lock(HeldDevices::Lock());
    auto& held = HeldDevices::Held();
    if (held.count(index) != 0 || DetectDevice(index) != 1) return false;
    if (GetDeviceKind(index) == WRENLINK_KIND_C12880MA) bytes = SerialBytes(index);
    if (!bytes || (serial && data::DisplayText(*bytes) != *serial && *bytes != *serial)) {
      CloseDevice(index);
      return false;
    }
    held[index] = Describe(index);
    device_ = index;
    doc_->Sensor(0).serialNo = *bytes;
    return true;
  });
}

// What detection reads of a spectrometer: kind, exposure, the wavelength polynomial and the
// five calibration tables.
void Spectrometer::ReadInstrument() {
  data::SensorEntry& sensor = doc_->Sensor(0);
  doc_->sensorTable.sensorCount = 1;
  sensor.kindName = "C12880MA";
  sensor.pixelCount = data::kMaxPixels;
  unsigned char comp[sizeof sensor.compBlock] = {};
  double exposure = 0;
  const int compBytes = Unlocked([&] { return GetDeviceComp(device_, comp); });
  CheckTransfer(compBytes, static_cast<int>(sizeof comp));
  CheckTransfer(Unlocked([&] { return GetDeviceExposure(device_, &exposure); }), 1);
  std::memcpy(sensor.compBlock.data(), comp, sizeof comp);
  sensor.exposureUs =
      std::isnan(exposure) ? 0 : static_cast<int32_t>(std::clamp(exposure, 0.0, 2147483647.0));
  acquisition::TableRead reading;
  Unlocked([&] {
    reading = acquisition::ReadCalibrationTables(
        sensor, device_, [&] { data::UpdateDarkModel(sensor, state_->dark[0]); });
    return 0;
  });
  if (reading.unanswered) RaiseInstrumentFault(FaultKind::kNoAnswer, Serial(), device_, 0, 1);
  if (reading.shortTables.empty()) return;
  std::string text = "sensor " + Serial() + ": tables came back short:";
  for (const auto& table : reading.shortTables) {
    text += " " + acquisition::ShortTableName(table, &acquisition::AsWritten) + " (" +
            std::to_string(table.received) + " of " + std::to_string(table.expected) + " bytes)";
  }
  if (PyErr_WarnEx(PyExc_RuntimeWarning, text.c_str(), 1) != 0) throw py::error_already_set();
}

void Spectrometer::CheckOpen() const {
  if (!open_) throw py::value_error("the spectrometer is closed");
}

void Spectrometer::Close() {
  Unlocked([&] { return CloseHeld(); });
}

int Spectrometer::CloseHeld() {
  if (!open_) return 0;
  open_ = false;
  std::lock_guard<std::mutex> lock(HeldDevices::Lock());
  HeldDevices::Held().erase(device_);
  return CloseDevice(device_);
}

void Spectrometer::CheckTransfer(int received, int expected) {
  if (received >= expected) return;
  if (received == 0 && PyErr_CheckSignals() != 0) throw py::error_already_set();
  const FaultKind kind =
      Unlocked([&] { return acquisition::CheckTransfer(device_, received, expected); });
  RaiseInstrumentFault(kind, Serial(), device_, received, expected);
}

void Spectrometer::SetExposureMs(const py::object& milliseconds) {
  CheckOpen();
  const char* refusal = "exposure_ms takes whole milliseconds from 0 to 9500";
  if (py::isinstance<py::bool_>(milliseconds) || !PyIndex_Check(milliseconds.ptr())) {
    throw py::type_error(refusal);
  }
  const auto ms = py::int_(milliseconds).cast<long long>();
  if (ms < 0 || ms > kMaxExposureMs) throw py::value_error(refusal);
  const auto us = static_cast<int32_t>(ms * 1000);
  CheckTransfer(Unlocked([&] { return SetDeviceExposure(device_, us); }), 1);
  doc_->Sensor(0).exposureUs = us;
  std::lock_guard<std::mutex> lock(HeldDevices::Lock());
  HeldDevices::Held()[device_].exposureUs = us;
}

double Spectrometer::Temperature() {
  CheckOpen();
  std::int16_t tenths = 0;
  CheckTransfer(Unlocked([&] { return GetDeviceTemp(device_, &tenths); }),
                static_cast<int>(sizeof tenths));
  return tenths / 10.0;
}

// Averages `frames` frames as a measurement pass does; Ctrl-C is honoured between frames.
void Spectrometer::AcquireFrames(int frames, data::PixelArray& averaged) {
  CheckOpen();
  if (frames < 1) throw py::value_error("average takes 1 or more frames");
  std::fill(averaged.begin(), averaged.end(), 0.0F);
  std::int16_t samples[data::kMaxPixels] = {};
  constexpr int kFrameBytes = static_cast<int>(sizeof samples);
  for (int frame = 0; frame < frames; ++frame) {
    if (PyErr_CheckSignals() != 0) throw py::error_already_set();
    CheckTransfer(Unlocked([&] { return GetDeviceData(device_, samples); }), kFrameBytes);
    for (int p = 0; p < data::kMaxPixels; ++p) averaged[p] += static_cast<float>(samples[p]);
  }
  const auto divisor = static_cast<float>(frames);
  for (float& value : averaged) value = value / divisor;
}

py::array_t<float> Spectrometer::Spectrum(int average) {
  data::PixelArray averaged;
  AcquireFrames(average, averaged);
  return CopyOf(averaged.data(), averaged.size());
}

// One pass of the measurement cycle for this sensor: frames, temperature, the exposure, then
// CorrectRecord and ResampleRecord with the instrument's own tables.
Processed Spectrometer::Process(int average, int mode, bool waveComp) {
  if (mode < data::kLightSource || mode > data::kTransmittance) {
    throw py::value_error("mode takes 0 (light source), 1 (reflectance) or 2 (transmittance)");
  }
  data::RecordSpectra& spectra = doc_->EnsureSpectra(0, 0);
  AcquireFrames(average, spectra.rawSpectrum);
  data::RecordSlot& slot = doc_->Record(0, 0);
  slot.recordTemperature = static_cast<float>(Temperature());
  slot.recordExposureUs = Entry().exposureUs;
  state_->settings = {mode, waveComp, false};
  data::CorrectRecord(*doc_, *state_, 0, 0);
  data::ResampleRecord(*doc_, *state_, 0, 0);
  const data::SensorOutputs& out = state_->outputs[0];
  py::object ratio = py::none();
  if (mode != data::kLightSource)
    ratio = CopyOf(out.ratioSpectrum.data(), out.ratioSpectrum.size());
  return {GridWavelengths(), CopyOf(out.displaySpectrum.data(), out.displaySpectrum.size()), ratio};
}

}  // namespace

void BindInstruments(py::module_& m) {
  py::class_<DeviceInfo>(m, "DeviceInfo", "An instrument that detect() found.")
      .def_readonly("index", &DeviceInfo::index, "the device index, 0 to 9")
      .def_readonly("kind", &DeviceInfo::kind, "the device kind (33: a spectrometer)")
      .def_readonly("name", &DeviceInfo::name, "the name the instrument reports")
      .def_readonly("version", &DeviceInfo::version, "the version the instrument reports")
      .def_readonly("serial", &DeviceInfo::serial, "a spectrometer's serial number, else None")
      .def_readonly("exposure_us", &DeviceInfo::exposureUs,
                    "a spectrometer's exposure in microseconds, else None")
      .def("__repr__", &DescribeDevice);
  m.def("detect", &Detect,
        R"(Lists every instrument at device indices 0 to 9, as `chromiva-cli devices` does.

Uses the simulator when WRENLINK_SIMULATOR is set. The devices are closed again.

Returns:
    list of DeviceInfo: index, kind, name, version, and for spectrometers serial and exposure_us.)");

  py::class_<Spectrometer>(m, "Spectrometer", R"(A spectrometer, opened for measuring.

Spectrometer() opens the first spectrometer found; index= or serial= choose one. Opening reads
what detection reads: the serial number, the exposure, the wavelength polynomial and the
calibration tables. Use it in a with block, which closes the device; or call close().

Transfers run without the GIL. Ctrl-C (KeyboardInterrupt) ends a measurement between frames,
within one transfer timeout plus a second. An instrument that is unplugged, silent or answers
short raises InstrumentFault; no short spectrum is ever returned.)")
      .def(py::init<std::optional<int>, std::optional<std::string>>(),
           py::arg("index") = py::none(), py::arg("serial") = py::none())
      .def("close", &Spectrometer::Close, "Closes the device (again: nothing happens).")
      .def(
          "__enter__", [](Spectrometer& s) -> Spectrometer& { return s; },
          py::return_value_policy::reference)
      .def("__exit__", [](Spectrometer& s, const py::args&) { s.Close(); })
      .def_property_readonly("index", &Spectrometer::Index, "the device index, 0 to 9")
      .def_property_readonly("serial", &Spectrometer::Serial, "the serial number as text")
      .def_property_readonly(
          "serial_bytes", [](const Spectrometer& s) { return py::bytes(s.Entry().serialNo); },
          "the serial number's bytes as the instrument keeps them")
      .def_property_readonly(
          "pixels", [](const Spectrometer& s) { return s.Entry().pixelCount; },
          "the pixel count (288)")
      .def_property("exposure_ms", &Spectrometer::ExposureMs, &Spectrometer::SetExposureMs,
                    "the exposure in whole milliseconds, 0 to 9500; setting it sends it to the "
                    "instrument")
      .def_property_readonly("temperature", &Spectrometer::Temperature,
                             "the sensor temperature in degrees Celsius, read now")
      .def_property_readonly(
          "wavelengths",
          [](const Spectrometer& s) {
            return CopyOf(s.Entry().wavelengthTable.data(), data::kMaxPixels);
          },
          "the wavelength of each pixel in nm, from the instrument's table")
      .def("spectrum", &Spectrometer::Spectrum, py::arg("average") = 1,
           R"(Measures one frame averaged over `average` frames: raw counts per pixel (float32).

Raises:
    InstrumentFault: the instrument was unplugged, did not answer or answered short.
    KeyboardInterrupt: Ctrl-C between two frames.)")
      .def("processed", &Spectrometer::Process, py::arg("average") = 1, py::arg("mode") = 0,
           py::arg("wave_comp") = false,
           R"(Measures like spectrum() and processes it as a measurement pass does.

Dark-corrected with the instrument's own dark steps for the exposure, resampled onto the
display grid, and for modes 1 and 2 the ratio to its white or transmission table.

Args:
    average: frames to average.
    mode: 0 light source, 1 reflectance, 2 transmittance.
    wave_comp: apply the sensitivity correction.

Returns:
    Processed: wavelengths (511), spectrum (511) and, for modes 1 and 2, ratio (511).)")
      .def("__repr__", [](const Spectrometer& s) {
        return "<chromiva.Spectrometer " + s.Serial() + " at index " + std::to_string(s.Index()) +
               ">";
      });
}

}  // namespace chromiva::python
