// Builders of small documents for the data tests.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <memory>
#include <sstream>
#include <string>

#include "chromiva/data/data_file.h"
#include "chromiva/data/document.h"

namespace chromiva::data::test {

inline std::unique_ptr<Ctintrose_mfDoc> NewDocument() {
  return std::make_unique<Ctintrose_mfDoc>();
}

// A sensor with recognisable tables: wavelength 300 + 2 p nm, distinct values per table.
inline void AddSensor(Ctintrose_mfDoc& doc, const std::string& serial, int pixels = kMaxPixels) {
  const int k = doc.sensorTable.sensorCount++;
  SensorEntry& s = doc.Sensor(k);
  s.kindName = "C12880MA";
  s.serialNo = serial;
  s.pixelCount = pixels;
  s.exposureUs = 100000 + k;
  for (int c = 0; c < kCompCoefficients; ++c)
    s.compBlock[static_cast<std::size_t>(c)] = c + 0.5 * k;
  for (std::size_t p = 0; p < kMaxPixels; ++p) {
    for (std::size_t step = 0; step < kDarkSteps; ++step) {
      s.darkTables[step][p] = static_cast<float>(step * 10 + p % 7);
    }
    s.wavelengthTable[p] = 300.0f + 2.0f * static_cast<float>(p);
    s.sensitivityTable[p] = 1.0f + static_cast<float>(p) / 1000.0f;
    s.whiteTable[p] = 1000.0f + static_cast<float>(p);
    s.transmissionTable[p] = 2000.0f + static_cast<float>(p);
  }
  s.whiteTable[static_cast<std::size_t>(pixels)] = 100000.0f;
  s.transmissionTable[static_cast<std::size_t>(pixels)] = 200000.0f;
}

inline void AddRecords(Ctintrose_mfDoc& doc, int k, int count) {
  for (int i = 0; i < count; ++i) {
    const int r = doc.recordCount[static_cast<std::size_t>(k)]++;
    RecordSlot& slot = doc.Record(k, r);
    slot.recordExposureUs = 100000 * (r + 1);
    slot.recordTemperature = 25.0f + 0.1f * static_cast<float>(r);
    RecordSpectra& spectra = doc.EnsureSpectra(k, r);
    for (std::size_t p = 0; p < kMaxPixels; ++p) {
      spectra.rawSpectrum[p] = static_cast<float>(1000 + r * 3 + static_cast<int>(p));
      spectra.processedSpectrum[p] = static_cast<float>(r) - static_cast<float>(p) * 0.25f;
    }
  }
}

inline std::string Store(const Ctintrose_mfDoc& doc) {
  std::ostringstream out(std::ios::binary);
  const DataFileResult result = StoreDataFile(doc, out);
  return result.ok() ? out.str() : "store failed: " + result.message;
}

inline DataFileResult Load(Ctintrose_mfDoc& doc, const std::string& bytes) {
  std::istringstream in(bytes, std::ios::binary);
  return LoadDataFile(doc, in);
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A folder of its own for each test, removed afterwards.
class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("chromiva_data_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::size_t FilesInDir() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(dir_), {}));
  }
  std::filesystem::path dir_;
};

}  // namespace chromiva::data::test
