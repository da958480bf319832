// Texts the form shows, where more than one handler uses them.
#pragma once

#include "chromiva/acquisition/texts.h"

namespace chromiva::acquisition::text {

inline constexpr const char* kStart = TR_NOOP("Form", "開始");
inline constexpr const char* kStop = TR_NOOP("Form", "停止");
inline constexpr const char* kDetect = TR_NOOP("Form", "検出");
inline constexpr const char* kRelease = TR_NOOP("Form", "解除");
inline constexpr const char* kAverageRefusal =
    TR_NOOP("Form", "平均回数には1以上の値を入力してください。");
inline constexpr const char* kNothingToRegister =
    TR_NOOP("Form", "登録するデータがありません。計測してから登録してください。");
inline constexpr const char* kCompareFilter =
    TR_NOOP("Form", "tintrose data file(*.trdata)|*.trdata||");
// A data file that does not have the format; a comparison file that ends too early (%1: its
// name).
inline constexpr const char* kUnexpectedFormat = TR_NOOP("Form", "予期しないファイル形式です。");
inline constexpr const char* kReadBeyondEnd =
    TR_NOOP("Form", "%1 の末尾以降にアクセスしようとしました。");

}  // namespace chromiva::acquisition::text
