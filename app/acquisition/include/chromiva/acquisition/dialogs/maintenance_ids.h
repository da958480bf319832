// Dialog 131, "Setting" (the maintenance dialog): control ids, timer, settings key and texts.
#pragma once

#include "chromiva/acquisition/texts.h"

namespace chromiva::acquisition::dialogs::maintenance_ids {

inline constexpr int kDialog = 131;
inline constexpr const char* kTitle = TR_NOOP("Form", "Setting");

inline constexpr int kTableList = 1041;   // list box: the tables, one line per pixel
inline constexpr int kSerialList = 1042;  // list box: serial numbers of the calibration list
inline constexpr int kFile = 1043;        // "ファイル"
inline constexpr int kSet = 1044;         // "設定"
inline constexpr int kInitialise = 1045;  // "初期化"
inline constexpr int kDark = 1046;        // "ダーク計測"
inline constexpr int kGain = 1047;        // "ゲイン設定"
inline constexpr int kWrite = 1050;       // "装置へ書き込む"
inline constexpr const char* kColumnHeader =
    TR_NOOP("Form", "　　波長　ゲイン　ホワイト　透過１００％　ダーク（２１ステップ）");

inline constexpr int kTimer = 1;  // the dark sequence (and the poll of a frame read)
inline constexpr int kTickMs = 100;
inline constexpr int kPollMs = 10;

// Settings entry of the calibration list path.
inline constexpr const char* kListSection = "comp";
inline constexpr const char* kListEntry = "list";

inline constexpr const char* kListFilter = TR_NOOP("Form", "csv file(*.csv)|*.csv||");
inline constexpr const char* kListExtension = "csv";
inline constexpr const char* kListInitialName = "*.csv";

inline constexpr const char* kDarkFinished = TR_NOOP("Form", "ダーク計測を終了しました");
inline constexpr const char* kGainMeasured = TR_NOOP("Form", "ゲインを計測しました");
inline constexpr const char* kWriteCompleted = TR_NOOP("Form", "装置への書込みを完了しました");
inline constexpr const char* kWriteIncomplete =
    TR_NOOP("Form", "装置への書込みは完了していません。次の書込みに装置が応答しませんでした:");
inline constexpr const char* kNoSensor = TR_NOOP("Form", "センサーが選択されていません");
inline constexpr const char* kMeasuring =
    TR_NOOP("Form", "計測中はメンテナンス作業を開始できません");
inline constexpr const char* kListTooLong =
    TR_NOOP("Form", "校正リストは1000行までです。1001行目以降は読み込みませんでした");
inline constexpr const char* kRowRefused = TR_NOOP("Form", "この校正データは使えません: ");
inline constexpr const char* kTablesRefused =
    TR_NOOP("Form", "装置へ書き込みませんでした。テーブルが正しくありません: ");
inline constexpr const char* kListUnreadable = TR_NOOP("Form", "校正リストを読めません: ");
inline constexpr const char* kNoPixelAbove400 = TR_NOOP(
    "Form",
    "400nmより長い波長の画素がないため、ゲインを計算できません。テーブルは変更していません");
inline constexpr const char* kGainZero = TR_NOOP(
    "Form", "計測値が0の画素があるため、ゲインを計算できません。テーブルは変更していません");

}  // namespace chromiva::acquisition::dialogs::maintenance_ids
