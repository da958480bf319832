// Transfers of one sensor's calibration tables between the instrument and the document,
// through the library's raw channel.
#pragma once

#include "chromiva/acquisition/texts.h"

#include <functional>
#include <string>
#include <vector>

#include "chromiva/data/document.h"

namespace chromiva::acquisition {

// A table that came back with fewer bytes than expected: the values that arrived are kept.
struct ShortTable {
  const char* name = "";  // marked: "波長テーブル", ..., or "ダークテーブル(ステップ%1)" with step
  int step = -1;  // the dark step, for the dark table
  int received = 0;
  int expected = 0;
};
// The table's name with its step filled in ("ダークテーブル(ステップ3)"), taken in `form`.
std::string ShortTableName(const ShortTable& table, TextForm form = &Translated);

struct TableRead {
  std::vector<ShortTable> shortTables;  // tables that came back short, in reading order
  // Reading stopped early: a request got no reply at all (the instrument is silent or gone),
  // or a transfer stop was requested. The tables not yet read keep what they held.
  bool unanswered = false;
  bool stopped = false;
};

// Reads the wavelength table, dark steps 0 to 20, then the sensitivity, white and
// transmission tables of `sensor` from `deviceIndex`. `afterDarkSteps` runs between the dark
// steps and the rest (detection updates the dark model there).
TableRead ReadCalibrationTables(data::SensorEntry& sensor, int deviceIndex,
                                const std::function<void()>& afterDarkSteps);

// A table write: one acknowledgement byte is expected per request. The write ends at the first
// request that is not acknowledged, or before the next request once a transfer stop is
// requested; it succeeded only when every acknowledgement arrived.
struct TableWrite {
  int acknowledged = 0;  // acknowledgement bytes that arrived
  int expected = 0;      // requests of the whole table
  bool ok() const { return acknowledged == expected; }
};

// Each write sends one value per request and reads a one-byte acknowledgement after each.
TableWrite WriteDarkSteps(const data::SensorEntry& sensor, int deviceIndex);
TableWrite WriteWhiteTable(const data::SensorEntry& sensor, int deviceIndex);
TableWrite WriteTransmissionTable(const data::SensorEntry& sensor, int deviceIndex);
TableWrite WriteSensitivityTable(const data::SensorEntry& sensor, int deviceIndex);
TableWrite WriteWavelengthTable(const data::SensorEntry& sensor, int deviceIndex);

// "センサー1 (SP000001) へのダークテーブルの登録に失敗しました（応答 12 / 6069 バイト）" in the
// window's language; `table` is a marked table name.
std::string DescribeFailedWrite(int sensor, const std::string& serial, const char* table,
                                const TableWrite& write);

// Sends the first 8 characters of `serial` (a 7-character text sends its NUL as the eighth
// byte). A text shorter than 7 characters is refused before anything is sent: false.
bool WriteSerialNo(int deviceIndex, const std::string& serial);
inline constexpr const char* kSerialTooShort =
    TR_NOOP("Form", "シリアル番号は7文字以上で入力してください。");

}  // namespace chromiva::acquisition
