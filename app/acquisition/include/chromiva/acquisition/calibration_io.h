// Transfers of one sensor's calibration tables between the instrument and the document,
// through the library's raw channel.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "chromiva/data/document.h"

namespace chromiva::acquisition {

// A table that came back with fewer bytes than expected: the values that arrived are kept.
struct ShortTable {
  std::string table;  // e.g. "波長テーブル", "ダークテーブル(ステップ3)"
  int received = 0;
  int expected = 0;
};

// Reads the wavelength table, dark steps 0 to 20, then the sensitivity, white and
// transmission tables of `sensor` from `deviceIndex`. `afterDarkSteps` runs between the dark
// steps and the rest (detection updates the dark model there).
std::vector<ShortTable> ReadCalibrationTables(data::SensorEntry& sensor, int deviceIndex,
                                              const std::function<void()>& afterDarkSteps);

// Each write sends one value per request and reads a one-byte acknowledgement after each.
// Returns the number of requests that were not acknowledged.
int WriteDarkSteps(const data::SensorEntry& sensor, int deviceIndex);
int WriteWhiteTable(const data::SensorEntry& sensor, int deviceIndex);
int WriteTransmissionTable(const data::SensorEntry& sensor, int deviceIndex);
int WriteSensitivityTable(const data::SensorEntry& sensor, int deviceIndex);
int WriteWavelengthTable(const data::SensorEntry& sensor, int deviceIndex);

// Sends the first 8 characters of `serial` (a 7-character text sends its NUL as the eighth
// byte). A text shorter than 7 characters is refused before anything is sent: false.
bool WriteSerialNo(int deviceIndex, const std::string& serial);
inline constexpr const char* kSerialTooShort = "シリアル番号は7文字以上で入力してください。";

}  // namespace chromiva::acquisition
