#include "chromiva/data/document.h"

#include "chromiva/data/text_codec.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string_view>

namespace chromiva::data {

namespace {

void CheckSensor(int sensor) {
  if (sensor < 0 || sensor >= kMaxSensors) throw std::out_of_range("sensor slot out of range");
}

std::size_t SlotIndex(int sensor, int record) {
  CheckSensor(sensor);
  if (record < 0 || record >= kRecordSlots) throw std::out_of_range("record number out of range");
  return static_cast<std::size_t>(sensor) * kRecordSlots + static_cast<std::size_t>(record);
}

bool IsUntitled(std::string_view title) {
  return title.find(kUntitledTitle) != std::string_view::npos ||
         title.find("untitle") != std::string_view::npos;
}

}  // namespace

Ctintrose_mfDoc::Ctintrose_mfDoc()
    : slots_(static_cast<std::size_t>(kMaxSensors) * kRecordSlots), recordTimes_(kRecordSlots, 0) {}

SensorEntry& Ctintrose_mfDoc::Sensor(int sensor) {
  CheckSensor(sensor);
  return sensorTable.sensors[static_cast<std::size_t>(sensor)];
}

const SensorEntry& Ctintrose_mfDoc::Sensor(int sensor) const {
  CheckSensor(sensor);
  return sensorTable.sensors[static_cast<std::size_t>(sensor)];
}

RecordSlot& Ctintrose_mfDoc::Record(int sensor, int record) {
  return slots_[SlotIndex(sensor, record)];
}

const RecordSlot& Ctintrose_mfDoc::Record(int sensor, int record) const {
  return slots_[SlotIndex(sensor, record)];
}

RecordSpectra& Ctintrose_mfDoc::EnsureSpectra(int sensor, int record) {
  RecordSlot& slot = Record(sensor, record);
  if (!slot.spectra) {
    slot.spectra = arenas_[static_cast<std::size_t>(sensor)].Place(record);
    std::memset(slot.spectra, 0, sizeof(RecordSpectra));
  }
  return *slot.spectra;
}

int64_t& Ctintrose_mfDoc::RecordTime(int record) {
  return recordTimes_[SlotIndex(0, record)];
}

int64_t Ctintrose_mfDoc::RecordTime(int record) const {
  return recordTimes_[SlotIndex(0, record)];
}

void Ctintrose_mfDoc::ClearRecords() {
  recordCount.fill(0);
  for (RecordSlot& slot : slots_) slot.spectra = nullptr;
  for (RecordArena& arena : arenas_) arena.Release();
}

void Ctintrose_mfDoc::ReplaceRecords(int sensor, std::span<const RecordSlot> loaded,
                                     RecordArena arena) {
  if (loaded.size() > static_cast<std::size_t>(kRecordSlots)) {
    throw std::out_of_range("more records than slots");
  }
  if (loaded.empty()) return;  // nothing replaced: the present arena stays
  RecordSlot* slots = &slots_[SlotIndex(sensor, 0)];
  for (std::size_t r = loaded.size(); r < static_cast<std::size_t>(kRecordSlots); ++r) {
    if (slots[r].spectra == nullptr) continue;
    RecordSpectra* place = arena.Place(static_cast<int>(r));
    std::memcpy(place, slots[r].spectra, sizeof(RecordSpectra));
    slots[r].spectra = place;
  }
  std::copy(loaded.begin(), loaded.end(), slots);
  arenas_[static_cast<std::size_t>(sensor)] = std::move(arena);
}

void Ctintrose_mfDoc::NameUntitledDocument(std::time_t now) {
  if (!IsUntitled(title)) return;
  std::string named;
  for (int k = 0; k < sensorTable.sensorCount && k < kMaxSensors; ++k) {
    named += DisplayText(Sensor(k).serialNo);  // the title is shown and proposed as a name
    named += '_';
  }
  named += FormatLocalTime(now, "%Y%m%d_%H%M%S");
  title = std::move(named);
}

std::string FormatLocalTime(std::time_t t, const char* format) {
  std::tm local{};
  if (localtime_r(&t, &local) == nullptr) return {};
  char text[64];
  const std::size_t length = std::strftime(text, sizeof text, format, &local);
  return std::string(text, length);
}

}  // namespace chromiva::data
