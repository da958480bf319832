// Texts the form shows, where more than one handler uses them.
#pragma once

namespace chromiva::acquisition::text {

inline constexpr const char* kStart = "開始";
inline constexpr const char* kStop = "停止";
inline constexpr const char* kDetect = "検出";
inline constexpr const char* kRelease = "解除";
inline constexpr const char* kAverageRefusal = "平均回数には1以上の値を入力してください。";
inline constexpr const char* kNothingToRegister =
    "登録するデータがありません。計測してから登録してください。";
inline constexpr const char* kCompareFilter = "tintrose data file(*.trdata)|*.trdata||";
// A data file that does not have the format; a comparison file that ends too early (%1: its
// name).
inline constexpr const char* kUnexpectedFormat = "予期しないファイル形式です。";
inline constexpr const char* kReadBeyondEnd = "%1 の末尾以降にアクセスしようとしました。";

}  // namespace chromiva::acquisition::text
