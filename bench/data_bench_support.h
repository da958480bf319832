// Shared helpers of the data benchmarks: a filled document and a wall clock.
#pragma once

#include <chrono>
#include <cmath>
#include <memory>

#include "chromiva/data/document.h"

namespace chromiva::bench {

using data::Ctintrose_mfDoc;

inline double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A sensor with a realistic wavelength table (about 310 to 880 nm) and dark steps.
inline void FillSensor(Ctintrose_mfDoc& doc, int k) {
  data::SensorEntry& s = doc.Sensor(k);
  s.kindName = "C12880MA";
  s.serialNo = "BENCH" + std::to_string(k);
  for (std::size_t p = 0; p < data::kMaxPixels; ++p) {
    const double n = static_cast<double>(p) + 1.0;
    s.wavelengthTable[p] = static_cast<float>(308.0 + 2.1 * n - 0.0005 * n * n);
    s.darkTables[0][p] = 800.0f + static_cast<float>(p % 13);
    s.darkTables[19][p] = 1400.0f + static_cast<float>(p % 17);
    s.sensitivityTable[p] = 1.0f + 0.001f * static_cast<float>(p);
    s.whiteTable[p] = 3000.0f + static_cast<float>(p);
  }
  s.whiteTable[data::kMaxPixels] = 100000.0f;
}

inline void FillRecord(Ctintrose_mfDoc& doc, int k, int r) {
  data::RecordSlot& slot = doc.Record(k, r);
  slot.recordExposureUs = 100000 + 1000 * (r % 50);
  slot.recordTemperature = 25.0f + 0.1f * static_cast<float>(r % 30);
  data::RecordSpectra& spectra = doc.EnsureSpectra(k, r);
  for (std::size_t p = 0; p < data::kMaxPixels; ++p) {
    const double shape = std::sin(static_cast<double>(p) * 0.02 + r * 0.001);
    spectra.rawSpectrum[p] = static_cast<float>(2000.0 + 1500.0 * shape + (r * 7 + p) % 11);
    spectra.processedSpectrum[p] = spectra.rawSpectrum[p] - 800.0f;
  }
  doc.RecordTime(r) = 1557464602 + r;
}

inline std::unique_ptr<Ctintrose_mfDoc> FilledDocument(int sensors, int records) {
  auto doc = std::make_unique<Ctintrose_mfDoc>();
  doc->sensorTable.sensorCount = sensors;
  for (int k = 0; k < sensors; ++k) {
    FillSensor(*doc, k);
    for (int r = 0; r < records; ++r) FillRecord(*doc, k, r);
    doc->recordCount[static_cast<std::size_t>(k)] = records;
  }
  return doc;
}

}  // namespace chromiva::bench
