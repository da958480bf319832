#include "chromiva/acquisition/calibration_io.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "wrenlink.h"

namespace chromiva::acquisition {
namespace {

using Request = std::array<unsigned char, 64>;

constexpr int kTableReplyBytes = (data::kMaxPixels + 1) * 4;

// Pixels of a sensor, never beyond the tables' capacity.
int Pixels(const data::SensorEntry& sensor) {
  return std::clamp(sensor.pixelCount, 0, data::kMaxPixels);
}

void PutU16(unsigned char* bytes, int value) {
  bytes[0] = static_cast<unsigned char>(value % 256);
  bytes[1] = static_cast<unsigned char>(value / 256);
}

void PutFloat(unsigned char* bytes, float value) {
  std::memcpy(bytes, &value, 4);
}

// One request and its reply; the values that arrived are copied into `values`, the rest keep
// what they held. Returns the reply's byte count.
int ReadFloats(int device, const unsigned char* request, int requestLength, float* values,
               int count) {
  std::array<unsigned char, kTableReplyBytes> reply{};
  WriteData(device, request, requestLength);
  int received = ReadData(device, reply.data(), count * 4);
  std::memcpy(values, reply.data(), static_cast<std::size_t>(received / 4) * 4);
  return received;
}

void NoteShort(std::vector<ShortTable>& reports, std::string table, int received, int expected) {
  if (received < expected) reports.push_back({std::move(table), received, expected});
}

void ReadWavelengths(data::SensorEntry& sensor, int device, std::vector<ShortTable>& reports) {
  int received = 0;
  for (int pixel = 0; pixel < Pixels(sensor); ++pixel) {
    unsigned char request[4] = {0x58, 0x04};
    PutU16(request + 2, pixel);
    received += ReadFloats(device, request, 4, &sensor.wavelengthTable[pixel], 1);
  }
  NoteShort(reports, "波長テーブル", received, Pixels(sensor) * 4);
}

void ReadDarkSteps(data::SensorEntry& sensor, int device, std::vector<ShortTable>& reports) {
  for (int step = 0; step < data::kDarkSteps; ++step) {
    unsigned char request[4] = {0x5A, 0x04};
    PutU16(request + 2, step);
    int received = ReadFloats(device, request, 4, sensor.darkTables[step].data(), Pixels(sensor));
    NoteShort(reports, "ダークテーブル(ステップ" + std::to_string(step) + ")", received,
              Pixels(sensor) * 4);
  }
}

void ReadWholeTable(unsigned char letter, const char* name, data::PixelTable& table, int device,
                    std::vector<ShortTable>& reports) {
  Request request{};
  request[0] = letter;
  request[1] = 0x02;
  int received = ReadFloats(device, request.data(), 64, table.data(), data::kTableValues);
  NoteShort(reports, name, received, kTableReplyBytes);
}

// Sends `values` then a final 0.0, one 64-byte request per element, each acknowledged by one
// byte. Returns the number of requests that got no acknowledgement.
int WriteElements(unsigned char letter, const float* values, int count, int device) {
  int missing = 0;
  for (int element = 0; element <= count; ++element) {
    Request request{};
    request[0] = letter;
    request[1] = 0x08;
    PutU16(&request[2], element);
    PutFloat(&request[4], element < count ? values[element] : 0.0F);
    WriteData(device, request.data(), 64);
    unsigned char ack = 0;
    if (ReadData(device, &ack, 1) != 1) ++missing;
  }
  return missing;
}

}  // namespace

std::vector<ShortTable> ReadCalibrationTables(data::SensorEntry& sensor, int deviceIndex,
                                              const std::function<void()>& afterDarkSteps) {
  std::vector<ShortTable> reports;
  ReadWavelengths(sensor, deviceIndex, reports);
  ReadDarkSteps(sensor, deviceIndex, reports);
  if (afterDarkSteps) afterDarkSteps();
  ReadWholeTable(0x59, "感度テーブル", sensor.sensitivityTable, deviceIndex, reports);
  ReadWholeTable(0x57, "ホワイトテーブル", sensor.whiteTable, deviceIndex, reports);
  ReadWholeTable(0x55, "透過テーブル", sensor.transmissionTable, deviceIndex, reports);
  return reports;
}

int WriteDarkSteps(const data::SensorEntry& sensor, int deviceIndex) {
  int missing = 0;
  for (int step = 0; step < data::kDarkSteps; ++step) {
    for (int pixel = 0; pixel <= Pixels(sensor); ++pixel) {
      unsigned char request[10] = {0x7A, 0x0A};
      PutU16(request + 2, step);
      PutU16(request + 4, pixel);
      float value = pixel < Pixels(sensor) ? sensor.darkTables[step][pixel] : 0.0F;
      PutFloat(request + 6, value);
      WriteData(deviceIndex, request, 10);
      unsigned char ack = 0;
      if (ReadData(deviceIndex, &ack, 1) != 1) ++missing;
    }
  }
  return missing;
}

int WriteWhiteTable(const data::SensorEntry& sensor, int deviceIndex) {
  return WriteElements(0x77, sensor.whiteTable.data(), Pixels(sensor) + 1, deviceIndex);
}

int WriteTransmissionTable(const data::SensorEntry& sensor, int deviceIndex) {
  return WriteElements(0x75, sensor.transmissionTable.data(), Pixels(sensor) + 1, deviceIndex);
}

int WriteSensitivityTable(const data::SensorEntry& sensor, int deviceIndex) {
  return WriteElements(0x79, sensor.sensitivityTable.data(), Pixels(sensor) + 1, deviceIndex);
}

int WriteWavelengthTable(const data::SensorEntry& sensor, int deviceIndex) {
  return WriteElements(0x78, sensor.wavelengthTable.data(), Pixels(sensor), deviceIndex);
}

bool WriteSerialNo(int deviceIndex, const std::string& serial) {
  if (serial.size() < 7) return false;
  unsigned char bytes[8] = {};
  std::memcpy(bytes, serial.data(), std::min<std::size_t>(serial.size(), 8));
  SetDeviceSerialNo(deviceIndex, bytes, 8);
  return true;
}

}  // namespace chromiva::acquisition
