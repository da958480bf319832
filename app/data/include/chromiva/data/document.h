// The document: sensor table, record store, sky background, LED list and operation log.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "chromiva/data/record_arena.h"

namespace chromiva::data {

inline constexpr int kMaxSensors = 10;
inline constexpr int kDarkSteps = 21;
inline constexpr int kDarkStepForRecord = 20;
inline constexpr int kTableValues = kMaxPixels + 1;
inline constexpr int kMaxCommittedRecords = kRecordSlots - 1;
inline constexpr int kMaxLedUnits = 10;
inline constexpr int kLedValueSlots = 32;
inline constexpr int kCompCoefficients = 6;

using PixelTable = std::array<float, kTableValues>;

// Description and calibration tables of one spectrometer. The sensitivity, white and
// transmission tables carry one value more than the pixels; for the white and transmission
// tables it is the exposure (in microseconds) at which the reference was taken.
struct SensorEntry {
  // Code page 932 bytes as the file or the instrument gave them; shown through DisplayText.
  std::string kindName;
  std::string serialNo;
  int32_t pixelCount = kMaxPixels;
  int32_t exposureUs = 0;
  std::array<double, kCompCoefficients> compBlock{};
  std::array<PixelArray, kDarkSteps> darkTables{};
  PixelArray wavelengthTable{};
  PixelTable sensitivityTable{};
  PixelTable whiteTable{};
  PixelTable transmissionTable{};
};

// The sensor's pixel count as far as the per-pixel arrays reach: 0 to kMaxPixels.
inline int UsablePixels(const SensorEntry& sensor) {
  return sensor.pixelCount < 0            ? 0
         : sensor.pixelCount > kMaxPixels ? kMaxPixels
                                          : sensor.pixelCount;
}

struct SensorTable {
  int32_t sensorCount = 0;
  std::array<SensorEntry, kMaxSensors> sensors{};
  int32_t ledCount = 0;
  std::array<int32_t, kMaxLedUnits> ledChannels = FilledLedChannels();
  std::array<std::array<int32_t, kLedValueSlots>, kMaxLedUnits> ledValues{};
  int32_t mirrorCount = 0;

 private:
  static constexpr std::array<int32_t, kMaxLedUnits> FilledLedChannels() {
    std::array<int32_t, kMaxLedUnits> channels{};
    channels.fill(kLedValueSlots);
    return channels;
  }
};

struct RecordSlot {
  int32_t recordExposureUs = 0;
  float recordTemperature = 0.0f;
  // The record's arrays, in the document's arena of the sensor; absent until first use.
  RecordSpectra* spectra = nullptr;
};

inline constexpr const char* kUntitledTitle = "無題";

class Ctintrose_mfDoc {
 public:
  Ctintrose_mfDoc();
  Ctintrose_mfDoc(const Ctintrose_mfDoc&) = delete;
  Ctintrose_mfDoc& operator=(const Ctintrose_mfDoc&) = delete;
  ~Ctintrose_mfDoc() = default;

  SensorTable sensorTable;
  std::array<int32_t, kMaxSensors> recordCount{};
  std::array<PixelArray, kMaxSensors> skyBgdTable{};
  std::string operationLog;  // code page 932 bytes as stored (see text_codec.h), lines end in CR LF
  std::string title = kUntitledTitle;  // UTF-8
  bool modified = false;

  SensorEntry& Sensor(int sensor);
  const SensorEntry& Sensor(int sensor) const;

  // Record slot r (0 .. kRecordSlots - 1) of a sensor slot; throws std::out_of_range otherwise.
  RecordSlot& Record(int sensor, int record);
  const RecordSlot& Record(int sensor, int record) const;

  // The record's arrays, allocated (zeroed) on first use; a reused slot keeps its arrays.
  RecordSpectra& EnsureSpectra(int sensor, int record);

  // Calendar time of record number r, seconds since 1970, shared by all sensors.
  int64_t& RecordTime(int record);
  int64_t RecordTime(int record) const;

  // Sets every recordCount to 0 and releases all record arrays; everything else stays.
  void ClearRecords();

  // For loading: records 0 .. loaded.size() - 1 of a sensor become `loaded`, whose arrays live
  // in `arena` (at their records' places). Slots from loaded.size() on keep their contents;
  // their arrays move into `arena`, which then replaces the sensor's previous arena.
  void ReplaceRecords(int sensor, std::span<const RecordSlot> loaded, RecordArena arena);

  // Renames a title containing "無題" or "untitle" to "<serial>_..._<YYYYmmdd_HHMMSS>" (local
  // time of `now`); other titles stay.
  void NameUntitledDocument(std::time_t now);

 private:
  std::vector<RecordSlot> slots_;
  std::vector<int64_t> recordTimes_;
  std::array<RecordArena, kMaxSensors> arenas_;
};

// Local-time text of `t` in strftime format; empty when the time cannot be represented.
std::string FormatLocalTime(std::time_t t, const char* format);

}  // namespace chromiva::data
