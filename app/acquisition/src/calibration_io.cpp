#include "chromiva/acquisition/calibration_io.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "chromiva/acquisition/instrument_fault.h"
#include "wrenlink.h"

namespace chromiva::acquisition {
namespace {

using Request = std::array<unsigned char, WRENLINK_TABLE_REQUEST_BYTES>;

constexpr int kTableReplyBytes = (data::kMaxPixels + 1) * 4;

// Pixels of a sensor, never beyond the tables' capacity.
int Pixels(const data::SensorEntry& sensor) {
  return std::clamp(sensor.pixelCount, 0, data::kMaxPixels);
}

// One read request of `table` and its reply; the values that arrived are copied into
// `values`, the rest keep what they held. Returns the reply's byte count.
int ReadFloats(int device, int table, int number, float* values, int count) {
  Request request{};
  const int requestLength = WrenlinkTableRead(request.data(), table, number);
  std::array<unsigned char, kTableReplyBytes> reply{};
  WriteData(device, request.data(), requestLength);
  int received = ReadData(device, reply.data(), count * 4);
  std::memcpy(values, reply.data(), static_cast<std::size_t>(received / 4) * 4);
  return received;
}

void NoteShort(TableRead& reading, const char* table, int step, int received, int expected) {
  if (received < expected) reading.shortTables.push_back({table, step, received, expected});
}

// False when the reading must end here: the reply was empty (the request went unanswered) or
// a stop was requested.
bool Continue(TableRead& reading, int received) {
  if (received == 0) reading.unanswered = true;
  if (TransferStopRequested()) reading.stopped = true;
  return !reading.unanswered && !reading.stopped;
}

bool ReadWavelengths(data::SensorEntry& sensor, int device, TableRead& reading) {
  int received = 0;
  bool going = true;
  for (int pixel = 0; going && pixel < Pixels(sensor); ++pixel) {
    int count =
        ReadFloats(device, WRENLINK_TABLE_WAVELENGTH, pixel, &sensor.wavelengthTable[pixel], 1);
    received += count;
    going = Continue(reading, count);
  }
  NoteShort(reading, TR_NOOP("Form", "波長テーブル"), -1, received, Pixels(sensor) * 4);
  return going;
}

bool ReadDarkSteps(data::SensorEntry& sensor, int device, TableRead& reading) {
  for (int step = 0; step < data::kDarkSteps; ++step) {
    int received = ReadFloats(device, WRENLINK_TABLE_DARK, step, sensor.darkTables[step].data(),
                              Pixels(sensor));
    NoteShort(reading, TR_NOOP("Form", "ダークテーブル(ステップ%1)"), step, received,
              Pixels(sensor) * 4);
    if (!Continue(reading, received)) return false;
  }
  return true;
}

bool ReadWholeTable(int letter, const char* name, data::PixelTable& table, int device,
                    TableRead& reading) {
  int received = ReadFloats(device, letter, 0, table.data(), data::kTableValues);
  NoteShort(reading, name, -1, received, kTableReplyBytes);
  return Continue(reading, received);
}

// One request and its one-byte acknowledgement; false (and the write ends) when the
// acknowledgement did not arrive or a stop is requested before the next request.
bool SendAcknowledged(int device, const unsigned char* request, int length, TableWrite& write) {
  if (TransferStopRequested()) return false;
  WriteData(device, request, length);
  unsigned char ack = 0;
  if (ReadData(device, &ack, 1) != 1) return false;
  ++write.acknowledged;
  return true;
}

// Sends `values` then a final 0.0, one request per element, each acknowledged by one byte.
TableWrite WriteElements(int table, const float* values, int count, int device) {
  TableWrite write;
  write.expected = count + 1;
  for (int element = 0; element <= count; ++element) {
    Request request{};
    const int length = WrenlinkTableWrite(request.data(), table, 0, element,
                                          element < count ? values[element] : 0.0F);
    if (!SendAcknowledged(device, request.data(), length, write)) break;
  }
  return write;
}

}  // namespace

TableRead ReadCalibrationTables(data::SensorEntry& sensor, int deviceIndex,
                                const std::function<void()>& afterDarkSteps) {
  TableRead reading;
  if (!ReadWavelengths(sensor, deviceIndex, reading)) return reading;
  if (!ReadDarkSteps(sensor, deviceIndex, reading)) return reading;
  if (afterDarkSteps) afterDarkSteps();
  if (!ReadWholeTable(WRENLINK_TABLE_SENSITIVITY, TR_NOOP("Form", "感度テーブル"),
                      sensor.sensitivityTable, deviceIndex, reading)) {
    return reading;
  }
  if (!ReadWholeTable(WRENLINK_TABLE_WHITE, TR_NOOP("Form", "ホワイトテーブル"), sensor.whiteTable,
                      deviceIndex, reading)) {
    return reading;
  }
  ReadWholeTable(WRENLINK_TABLE_TRANSMISSION, TR_NOOP("Form", "透過テーブル"),
                 sensor.transmissionTable, deviceIndex, reading);
  return reading;
}

TableWrite WriteDarkSteps(const data::SensorEntry& sensor, int deviceIndex) {
  TableWrite write;
  write.expected = data::kDarkSteps * (Pixels(sensor) + 1);
  for (int step = 0; step < data::kDarkSteps; ++step) {
    for (int pixel = 0; pixel <= Pixels(sensor); ++pixel) {
      const float value = pixel < Pixels(sensor) ? sensor.darkTables[step][pixel] : 0.0F;
      Request request{};
      const int length =
          WrenlinkTableWrite(request.data(), WRENLINK_TABLE_DARK, step, pixel, value);
      if (!SendAcknowledged(deviceIndex, request.data(), length, write)) return write;
    }
  }
  return write;
}

TableWrite WriteWhiteTable(const data::SensorEntry& sensor, int deviceIndex) {
  return WriteElements(WRENLINK_TABLE_WHITE, sensor.whiteTable.data(), Pixels(sensor) + 1,
                       deviceIndex);
}

TableWrite WriteTransmissionTable(const data::SensorEntry& sensor, int deviceIndex) {
  return WriteElements(WRENLINK_TABLE_TRANSMISSION, sensor.transmissionTable.data(),
                       Pixels(sensor) + 1, deviceIndex);
}

TableWrite WriteSensitivityTable(const data::SensorEntry& sensor, int deviceIndex) {
  return WriteElements(WRENLINK_TABLE_SENSITIVITY, sensor.sensitivityTable.data(),
                       Pixels(sensor) + 1, deviceIndex);
}

TableWrite WriteWavelengthTable(const data::SensorEntry& sensor, int deviceIndex) {
  return WriteElements(WRENLINK_TABLE_WAVELENGTH, sensor.wavelengthTable.data(), Pixels(sensor),
                       deviceIndex);
}

std::string ShortTableName(const ShortTable& table, TextForm form) {
  if (table.step < 0) return form(table.name);
  return Filled(form(table.name), {std::to_string(table.step)});
}

std::string DescribeFailedWrite(int sensor, const std::string& serial, const char* table,
                                const TableWrite& write) {
  return Filled(Translated(TR_NOOP(
                    "Form", "センサー%1 (%2) への%3の登録に失敗しました（応答 %4 / %5 バイト）")),
                {std::to_string(sensor + 1), serial, Translated(table),
                 std::to_string(write.acknowledged), std::to_string(write.expected)});
}

bool WriteSerialNo(int deviceIndex, const std::string& serial) {
  if (serial.size() < 7) return false;
  unsigned char bytes[8] = {};
  std::memcpy(bytes, serial.data(), std::min<std::size_t>(serial.size(), 8));
  SetDeviceSerialNo(deviceIndex, bytes, 8);
  return true;
}

}  // namespace chromiva::acquisition
