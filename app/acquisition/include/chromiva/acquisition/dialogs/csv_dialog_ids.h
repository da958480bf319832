// Dialog 133, "CSVファイル保存": control ids, captions and texts.
#pragma once

#include "chromiva/acquisition/texts.h"

namespace chromiva::acquisition::dialogs::csv_ids {

inline constexpr int kDialog = 133;
inline constexpr const char* kTitle = TR_NOOP("Form", "CSVファイル保存");

inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kAddTemp = 1049;         // check box, hidden
inline constexpr int kAddExp = 1050;          // check box, hidden
inline constexpr int kStartNm = 1051;         // edit
inline constexpr int kEndNm = 1052;           // edit
inline constexpr int kStepNm = 1053;          // edit
inline constexpr int kFirstNumber = 1054;     // edit, 1-based
inline constexpr int kLastNumber = 1055;      // edit, 1-based, inclusive
inline constexpr int kSensor = 1056;          // drop-down list of serial numbers
inline constexpr int kAddWave = 1057;         // check box, hidden
inline constexpr int kVertical = 1058;        // check box, hidden
inline constexpr int kAuto = 1059;            // check box
inline constexpr int kFixedNameMode = 1061;   // radio
inline constexpr int kTimeNameMode = 1062;    // radio
inline constexpr int kFixedName = 1063;       // edit
inline constexpr int kNumberNameMode = 1064;  // radio
inline constexpr int kFolder = 1065;          // edit
inline constexpr int kBrowse = 1066;          // button
inline constexpr int kFolderLabel = 1067;     // static
inline constexpr int kTarget = 1068;          // drop-down list

// Labels beside the edits and lists (static texts of the template).
inline constexpr const char* kTargetLabel = TR_NOOP("Form", "保存対象");
inline constexpr const char* kStartLabel = TR_NOOP("Form", "開始波長(nm)");
inline constexpr const char* kEndLabel = TR_NOOP("Form", "終了波長(nm)");
inline constexpr const char* kStepLabel = TR_NOOP("Form", "波長ステップ(nm)");
inline constexpr const char* kFirstLabel = TR_NOOP("Form", "保存開始データ番号");
inline constexpr const char* kLastLabel = TR_NOOP("Form", "保存終了データ番号");
inline constexpr const char* kSensorLabel = TR_NOOP("Form", "使用センサー");

inline constexpr const char* kTargets[] = {
    TR_NOOP("Form", "光源データ"), TR_NOOP("Form", "反射/透過データ"),
    TR_NOOP("Form", "反射基準データ"), TR_NOOP("Form", "透過基準データ")};

inline constexpr const char* kNoData = TR_NOOP("Form", "データが保存されていません");
inline constexpr const char* kStepRefusal =
    TR_NOOP("Form", "波長ステップには1以上の値を入力してください。");
inline constexpr const char* kButtonAuto = TR_NOOP("Form", "CSV保存(AUTO)");
inline constexpr const char* kButtonManual = TR_NOOP("Form", "CSV保存");
inline constexpr const char* kFolderTitle = TR_NOOP("Form", "Select Folder");
inline constexpr const char* kFilter = TR_NOOP("Form", "csv file(*.csv)|*.csv||");
inline constexpr const char* kExtension = "csv";
inline constexpr const char* kInitialName = "*.csv";
inline constexpr const char* kSaveFailed = TR_NOOP("Form", "CSVファイルを保存できませんでした");

}  // namespace chromiva::acquisition::dialogs::csv_ids
