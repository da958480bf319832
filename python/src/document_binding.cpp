#include "document_binding.h"

#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "arrays.h"
#include "chromiva/acquisition/dialogs/csv_dialog.h"
#include "chromiva/data/data_file.h"
#include "chromiva/data/processing.h"
#include "chromiva/data/text_codec.h"
#include "chromiva/data/tidy_csv.h"
#include "errors.h"

namespace chromiva::python {
namespace {

using data::Ctintrose_mfDoc;

struct Document {
  std::unique_ptr<Ctintrose_mfDoc> doc = std::make_unique<Ctintrose_mfDoc>();
};
using DocumentPtr = std::shared_ptr<Document>;

struct Sensor {
  DocumentPtr owner;
  int slot = 0;

  const data::SensorEntry& Entry() const { return owner->doc->Sensor(slot); }
  int Pixels() const { return data::UsablePixels(Entry()); }
  int Records() const { return owner->doc->recordCount[static_cast<std::size_t>(slot)]; }
  py::capsule Base() const { return Keeper(owner); }
};

struct LedUnit {
  int channels = 0;
  py::array values;
};

int CheckedSensor(const Ctintrose_mfDoc& doc, int sensor) {
  if (sensor < 0 || sensor >= doc.sensorTable.sensorCount) {
    throw py::index_error("no sensor " + std::to_string(sensor) + " (the document has " +
                          std::to_string(doc.sensorTable.sensorCount) + ")");
  }
  return sensor;
}

int CheckedMode(int mode) {
  if (mode < data::kLightSource || mode > data::kTransmittance) {
    throw py::value_error("mode takes 0 (light source), 1 (reflectance) or 2 (transmittance)");
  }
  return mode;
}

// ---------------------------------------------------------------- arrays of a sensor

py::array PixelView(const Sensor& s, const float* values, int extra = 0) {
  return ReadOnlyView(values, {s.Pixels() + extra}, {sizeof(float)}, s.Base());
}

py::array DarkSteps(const Sensor& s) {
  const auto& steps = s.Entry().darkTables;
  return ReadOnlyView(steps[0].data(), {data::kDarkSteps, s.Pixels()},
                      {sizeof(data::PixelArray), sizeof(float)}, s.Base());
}

// The records' raw spectra in place: their arrays sit one after another in the sensor's
// arena. Should they not, the rows are copied once.
py::array RawSpectra(const Sensor& s) {
  const Ctintrose_mfDoc& doc = *s.owner->doc;
  const int records = s.Records();
  const int pixels = s.Pixels();
  if (records == 0) return py::array_t<float>(std::vector<py::ssize_t>{0, pixels});
  const data::RecordSpectra* first = doc.Record(s.slot, 0).spectra;
  bool inPlace = first != nullptr;
  for (int r = 1; r < records && inPlace; ++r) inPlace = doc.Record(s.slot, r).spectra == first + r;
  if (inPlace) {
    return ReadOnlyView(first->rawSpectrum.data(), {records, pixels},
                        {sizeof(data::RecordSpectra), sizeof(float)}, s.Base());
  }
  py::array_t<float> copy(std::vector<py::ssize_t>{records, pixels});
  auto rows = copy.mutable_unchecked<2>();
  for (int r = 0; r < records; ++r) {
    const data::RecordSpectra* spectra = doc.Record(s.slot, r).spectra;
    for (int p = 0; p < pixels; ++p) rows(r, p) = spectra ? spectra->rawSpectrum[p] : 0.0f;
  }
  return copy;
}

// A field of the record slots, in place (the slots of a sensor are one array).
template <typename T>
py::array SlotField(const Sensor& s, T data::RecordSlot::*field) {
  const int records = s.Records();
  if (records == 0) return py::array_t<T>(0);
  const data::RecordSlot& first = s.owner->doc->Record(s.slot, 0);
  return ReadOnlyView(&(first.*field), {records}, {sizeof(data::RecordSlot)}, s.Base());
}

// Record times as datetime64[s]; NaT where the document holds none (a loaded data file).
py::array RecordTimes(const Sensor& s) {
  const int records = s.Records();
  py::array_t<int64_t> seconds(records);
  int64_t* out = seconds.mutable_data();
  for (int r = 0; r < records; ++r) {
    const int64_t t = s.owner->doc->RecordTime(r);
    out[r] = t != 0 ? t : std::numeric_limits<int64_t>::min();
  }
  return seconds.attr("view")("datetime64[s]");
}

// ---------------------------------------------------------------- processing

// Runs CorrectRecord and ResampleRecord on records first .. end - 1 as the export does, hands
// each record's outputs to `use`, and leaves the document as it was: processing overwrites the
// record's stored processed spectrum and the sensor's dark step 20, which are put back.
template <typename Use>
void ProcessUnchanged(Ctintrose_mfDoc& doc, data::ProcessingState& state, int sensor, int first,
                      int end, Use use) {
  data::SensorEntry& entry = doc.Sensor(sensor);
  const data::PixelArray recordDark = entry.darkTables[data::kDarkStepForRecord];
  const auto& outputs = state.outputs[static_cast<std::size_t>(sensor)];
  for (int r = first; r < end; ++r) {
    data::RecordSpectra* spectra = doc.Record(sensor, r).spectra;
    if (spectra == nullptr)
      throw py::value_error("record " + std::to_string(r + 1) + " has no data");
    const data::PixelArray stored = spectra->processedSpectrum;
    data::CorrectRecord(doc, state, sensor, r);
    data::ResampleRecord(doc, state, sensor, r);
    spectra->processedSpectrum = stored;
    use(r, outputs);
  }
  entry.darkTables[data::kDarkStepForRecord] = recordDark;
}

Processed ProcessDocument(Document& d, int sensor, int mode, bool waveComp) {
  Ctintrose_mfDoc& doc = *d.doc;
  CheckedSensor(doc, sensor);
  const int records = doc.recordCount[static_cast<std::size_t>(sensor)];
  const bool ratio = CheckedMode(mode) != data::kLightSource;
  py::array_t<float> spectra(std::vector<py::ssize_t>{records, data::kGridSamples});
  py::array_t<float> ratios(std::vector<py::ssize_t>{ratio ? records : 0, data::kGridSamples});
  data::ProcessingState state;
  state.settings = {mode, waveComp, false};
  float* spectrumRows = spectra.mutable_data();
  float* ratioRows = ratios.mutable_data();
  ProcessUnchanged(doc, state, sensor, 0, records, [&](int r, const data::SensorOutputs& out) {
    const auto at = static_cast<std::size_t>(r) * data::kGridSamples;
    std::copy(out.displaySpectrum.begin(), out.displaySpectrum.end(), spectrumRows + at);
    if (ratio) std::copy(out.ratioSpectrum.begin(), out.ratioSpectrum.end(), ratioRows + at);
  });
  return {GridWavelengths(), spectra, ratio ? py::object(ratios) : py::none()};
}

// ---------------------------------------------------------------- the tidy table

struct TidyOptions {
  int sensor = 0;
  int target = data::kCsvLightSource;
  std::optional<int> mode;
  bool waveComp = false;
  int start = data::kGridStartNm;
  int end = data::kGridEndNm;
  int step = 10;
  int first = 1;
  std::optional<int> last;
};

// The grid and data numbers by the CSV dialog's rules, as `export` applies them.
data::CsvRange ApplyTidyOptions(const TidyOptions& o, int records, data::CsvSettings& settings) {
  constexpr int kLimitNm = 100000;
  if (o.start < -kLimitNm || o.start > kLimitNm || o.end < -kLimitNm || o.end > kLimitNm ||
      o.step < 1 || o.step > kLimitNm) {
    throw py::value_error("start and end take -100000 to 100000 nm, step 1 to 100000 nm");
  }
  acquisition::dialogs::CsvDialogFields fields;
  fields.startNm = std::to_string(o.start);
  fields.endNm = std::to_string(o.end);
  fields.stepNm = std::to_string(o.step);
  fields.firstNumber = std::to_string(o.first);
  fields.lastNumber = std::to_string(o.last.value_or(records));
  const auto outcome = acquisition::dialogs::ApplyCsvDialogOk(fields, records);
  if (!outcome.accepted) throw py::value_error(outcome.refusal);
  settings.csvStartNm = outcome.grid.startNm;
  settings.csvEndNm = outcome.grid.endNm;
  settings.csvStepNm = outcome.grid.stepNm;
  return outcome.range;
}

// Date and time columns: one text per record repeated over its rows, or None when unknown.
std::pair<py::object, py::object> DateAndTimeColumns(const Ctintrose_mfDoc& doc,
                                                     data::CsvRange range, std::size_t rowsEach) {
  if (!data::HasRecordTimes(doc, range)) return {py::none(), py::none()};
  py::list dates;
  py::list times;
  for (int r = range.first; r < range.end; ++r) {
    const std::string both = data::TidyDateAndTime(doc.RecordTime(r), true);
    const std::size_t comma = both.find(',');
    for (std::size_t i = 0; i < rowsEach; ++i) {
      dates.append(both.substr(0, comma));
      times.append(both.substr(comma + 1));
    }
  }
  return {dates, times};
}

py::object TidyTable(Document& d, const TidyOptions& o) {
  Ctintrose_mfDoc& doc = *d.doc;
  const int sensor = CheckedSensor(doc, o.sensor);
  if (o.target != data::kCsvLightSource && o.target != data::kCsvRatio) {
    throw py::value_error("the tidy table holds records: target 0 or 1");
  }
  data::CsvSettings settings;
  settings.csvTarget = o.target;
  const data::CsvRange range =
      ApplyTidyOptions(o, doc.recordCount[static_cast<std::size_t>(sensor)], settings);
  if (const auto checked = data::CheckTidyExport(doc, settings, sensor, range); !checked.ok()) {
    throw py::value_error(checked.message);
  }
  const std::vector<int> grid = data::TidyWavelengths(settings);
  const auto rows = static_cast<py::ssize_t>(grid.size()) * (range.end - range.first);
  py::array_t<int64_t> number(rows), wavelength(rows), exposure(rows);
  py::array_t<double> value(rows), temperature(rows);
  data::ProcessingState state;
  state.settings = {CheckedMode(o.mode.value_or(o.target == data::kCsvRatio ? 1 : 0)), o.waveComp,
                    false};
  py::ssize_t row = 0;
  ProcessUnchanged(
      doc, state, sensor, range.first, range.end, [&](int r, const data::SensorOutputs& out) {
        const auto& values = o.target == data::kCsvRatio ? out.ratioSpectrum : out.displaySpectrum;
        const data::RecordSlot& slot = doc.Record(sensor, r);
        for (int nm : grid) {
          number.mutable_at(row) = r + 1;
          wavelength.mutable_at(row) = nm;
          value.mutable_at(row) = values[static_cast<std::size_t>(nm - data::kGridStartNm)];
          temperature.mutable_at(row) = slot.recordTemperature;
          exposure.mutable_at(row) = slot.recordExposureUs / 1000;
          ++row;
        }
      });
  auto [dates, times] = DateAndTimeColumns(doc, range, grid.size());
  py::dict columns;
  const py::object names = py::str(data::kTidyHeader).attr("split")(",");
  const py::object cells[] = {number,      py::str(data::DisplayText(doc.Sensor(sensor).serialNo)),
                              dates,       times,
                              wavelength,  value,
                              temperature, exposure};
  for (std::size_t c = 0; c < std::size(cells); ++c) columns[names[py::int_(c)]] = cells[c];
  return py::module_::import("pandas").attr("DataFrame")(columns);
}

// ---------------------------------------------------------------- loading and saving

DocumentPtr Load(const std::filesystem::path& path) {
  auto d = std::make_shared<Document>();
  data::DataFileResult result;
  {
    py::gil_scoped_release released;
    result = data::OpenDataFile(*d->doc, path);
  }
  if (!result.ok()) RaiseFileError(result, path.string());
  const std::string warning = path.string() + ": " + result.warning;
  if (!result.warning.empty() && PyErr_WarnEx(PyExc_UserWarning, warning.c_str(), 1) != 0) {
    throw py::error_already_set();  // warnings turned into errors
  }
  return d;
}

void Save(Document& d, const std::filesystem::path& path) {
  const data::DataFileResult result = data::SaveDataFile(*d.doc, path);
  if (!result.ok()) RaiseSaveError(result);
}

std::vector<std::string> HistoryLines(const Document& d) {
  std::vector<std::string> lines;
  std::istringstream in(data::DisplayText(d.doc->operationLog));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<Sensor> Sensors(const DocumentPtr& d) {
  std::vector<Sensor> sensors;
  for (int k = 0; k < d->doc->sensorTable.sensorCount; ++k) sensors.push_back({d, k});
  return sensors;
}

std::vector<LedUnit> Leds(const Document& d) {
  const data::SensorTable& table = d.doc->sensorTable;
  std::vector<LedUnit> units;
  for (int u = 0; u < table.ledCount; ++u) {
    const int channels = table.ledChannels[static_cast<std::size_t>(u)];
    units.push_back({channels, CopyOf(table.ledValues[static_cast<std::size_t>(u)].data(),
                                      static_cast<std::size_t>(channels))});
  }
  return units;
}

// ---------------------------------------------------------------- bindings

void BindSensor(py::module_& m) {
  py::class_<Sensor>(m, "Sensor", R"(One spectrometer of a document: its tables and records.

The arrays are read-only views into the document (no copy); copy one to change it.)")
      .def_readonly("slot", &Sensor::slot, "the sensor slot, 0-based")
      .def_property_readonly(
          "serial", [](const Sensor& s) { return data::DisplayText(s.Entry().serialNo); },
          "the serial number as text (U+FFFD where a byte has no character)")
      .def_property_readonly(
          "serial_bytes", [](const Sensor& s) { return py::bytes(s.Entry().serialNo); },
          "the serial number's bytes as stored (code page 932)")
      .def_property_readonly(
          "kind", [](const Sensor& s) { return data::DisplayText(s.Entry().kindName); },
          "the sensor's kind name, e.g. 'C12880MA'")
      .def_property_readonly(
          "kind_bytes", [](const Sensor& s) { return py::bytes(s.Entry().kindName); },
          "the kind name's bytes as stored")
      .def_property_readonly("pixels", &Sensor::Pixels, "the pixel count (288)")
      .def_property_readonly(
          "exposure_us", [](const Sensor& s) { return s.Entry().exposureUs; },
          "the sensor's exposure in microseconds")
      .def_property_readonly(
          "comp",
          [](const Sensor& s) {
            return ReadOnlyView(s.Entry().compBlock.data(), {data::kCompCoefficients},
                                {sizeof(double)}, s.Base());
          },
          "the wavelength polynomial's six coefficients (float64)")
      .def_property_readonly(
          "wavelengths",
          [](const Sensor& s) { return PixelView(s, s.Entry().wavelengthTable.data()); },
          "the wavelength of each pixel in nm (float32)")
      .def_property_readonly("dark", &DarkSteps, "the 21 dark steps, 21 x pixels (float32)")
      .def_property_readonly(
          "sensitivity",
          [](const Sensor& s) { return PixelView(s, s.Entry().sensitivityTable.data(), 1); },
          "the sensitivity table, pixels + 1 values (float32)")
      .def_property_readonly(
          "white", [](const Sensor& s) { return PixelView(s, s.Entry().whiteTable.data(), 1); },
          "the white table; its last value is its exposure in microseconds")
      .def_property_readonly(
          "transmission",
          [](const Sensor& s) { return PixelView(s, s.Entry().transmissionTable.data(), 1); },
          "the 100 % transmission table; its last value is its exposure in microseconds")
      .def_property_readonly("record_count", &Sensor::Records, "the number of records")
      .def_property_readonly("raw", &RawSpectra,
                             "the records' raw counts, records x pixels (float32)")
      .def_property_readonly(
          "exposure",
          [](const Sensor& s) { return SlotField(s, &data::RecordSlot::recordExposureUs); },
          "each record's exposure in microseconds (int32)")
      .def_property_readonly(
          "temperature",
          [](const Sensor& s) { return SlotField(s, &data::RecordSlot::recordTemperature); },
          "each record's sensor temperature in degrees Celsius (float32)")
      .def_property_readonly(
          "times", &RecordTimes,
          "each record's time (datetime64[s]); NaT where the document holds none, "
          "as for every loaded data file")
      .def("__repr__", [](const Sensor& s) {
        return "<chromiva.Sensor " + std::to_string(s.slot) + " " +
               data::DisplayText(s.Entry().serialNo) + ", " + std::to_string(s.Records()) +
               " records>";
      });
}

void BindDocumentClass(py::module_& m) {
  py::class_<LedUnit>(m, "LedUnit", "An LED unit of a document: its channel count and levels.")
      .def_readonly("channels", &LedUnit::channels, "the channel count")
      .def_readonly("values", &LedUnit::values, "the level of each channel (int32)");
  py::class_<Document, DocumentPtr>(m, "Document",
                                    R"(A data file's contents, as the program holds them.

Made by chromiva.load(); written by chromiva.save().)")
      .def_property_readonly("sensors", &Sensors, "the sensors, in slot order (list of Sensor)")
      .def_property_readonly("leds", &Leds, "the LED units (list of LedUnit)")
      .def_property_readonly("history", &HistoryLines, "the operation history, one str per line")
      .def_property_readonly(
          "history_bytes", [](const Document& d) { return py::bytes(d.doc->operationLog); },
          "the operation history's bytes as stored (code page 932, CR LF)")
      .def_property_readonly(
          "title", [](const Document& d) { return d.doc->title; },
          "the document's title: the file name it was loaded from or saved to")
      .def("processed", &ProcessDocument, py::arg("sensor") = 0, py::arg("mode") = 0,
           py::arg("wave_comp") = false,
           R"(Every record of a sensor processed onto the display grid.

Dark-corrected with the file's own dark steps (and, with wave_comp, the sensitivity table),
exactly as `chromiva-cli export` computes them. The document does not change.

Args:
    sensor: the sensor slot (default 0).
    mode: 0 light source, 1 reflectance (against the white table), 2 transmittance.
    wave_comp: apply the sensitivity correction.

Returns:
    Processed: wavelengths (511), spectrum (records x 511) and, for modes 1 and 2, ratio.)")
      .def(
          "to_pandas",
          [](Document& d, int sensor, int target, std::optional<int> mode, bool waveComp, int start,
             int end, int step, int first, std::optional<int> last) {
            return TidyTable(d, {sensor, target, mode, waveComp, start, end, step, first, last});
          },
          py::arg("sensor") = 0, py::arg("target") = 0, py::arg("mode") = py::none(),
          py::arg("wave_comp") = false, py::arg("start") = 340, py::arg("end") = 850,
          py::arg("step") = 10, py::arg("first") = 1, py::arg("last") = py::none(),
          R"(The records as a tidy pandas DataFrame, one row per record and wavelength.

The columns are those of `chromiva-cli export --format tidy`: data_number, sensor_serial, date,
time, wavelength_nm, value, temperature_c, exposure_ms; the grid and data numbers follow the
same rules (wavelengths clamped into 340 to 850 nm, data numbers 1-based and clamped). Values
and temperatures keep their full precision (the CSV prints one decimal). Date and time are
None where the records carry no times (every loaded data file).

Args:
    sensor: the sensor slot (default 0).
    target: 0 the spectra, 1 the reflectance or transmittance ratio.
    mode: 0, 1 or 2 (default 1 for target 1, else 0).
    wave_comp: apply the sensitivity correction.
    start, end, step: the wavelength grid in nm (default 340, 850, 10).
    first, last: the data numbers, 1-based (default all records).)")
      .def("__repr__", [](const Document& d) {
        return "<chromiva.Document '" + d.doc->title + "', " +
               std::to_string(d.doc->sensorTable.sensorCount) + " sensors>";
      });
}

}  // namespace

void BindDocument(py::module_& m) {
  BindSensor(m);
  BindDocumentClass(m);
  m.def("load", &Load, py::arg("path"), R"(Loads a data file (*.cvdata) with the program's loader.

Args:
    path: the data file (str or path-like).

Returns:
    Document: the sensors with their tables and records.

Raises:
    FileFormatError: the file is not a complete data file (the message names the problem and
        the byte, as chromiva-cli says it).
    FileNotFoundError, OSError: the file cannot be opened or read.)");
  m.def("save", &Save, py::arg("document"), py::arg("path"),
        R"(Saves a document with the program's atomic save.

The file is written beside `path` and renamed over it only when complete and synced, so a
crash leaves the old file or the new one whole. A document saved unchanged gives the very
bytes it was loaded from.

Raises:
    OSError: the file could not be written (the message names the path and the reason).)");
}

}  // namespace chromiva::python
