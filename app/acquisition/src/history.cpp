#include "chromiva/acquisition/history.h"

#include "chromiva/data/atomic_save.h"
#include "chromiva/data/text_codec.h"

namespace chromiva::acquisition {
namespace {

std::string WithCrLfLineEnds(const std::string& text) {
  std::string result;
  result.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n') result.push_back('\r');
    result.push_back(c);
  }
  return result;
}

}  // namespace

std::string FormatLogLine(std::time_t now, const std::string& text) {
  return data::FormatLocalTime(now, "%Y/%m/%d %H:%M:%S,") + text + "\r\n";
}

void AppendLog(data::Ctintrose_mfDoc& document, std::time_t now, const std::string& text) {
  document.operationLog += FormatLogLine(now, text);
  document.modified = true;
}

HistorySaveResult SaveHistoryText(const std::string& operationLog,
                                  const std::filesystem::path& path) {
  auto bytes = data::Utf8ToCp932(WithCrLfLineEnds(operationLog));
  if (!bytes) return {false, "履歴に保存できない文字が含まれています。"};
  const std::string error = data::SaveFileAtomically(path, *bytes);
  if (!error.empty()) return {false, "ファイルを保存できません: " + path.string() + "\n" + error};
  return {true, {}};
}

std::string HistoryForEditing(const std::string& operationLog) {
  std::string text;
  text.reserve(operationLog.size());
  for (char c : operationLog) {
    if (c != '\r') text.push_back(c);
  }
  return text;
}

bool TakeOverHistoryEdit(data::Ctintrose_mfDoc& document, const std::string& editedText) {
  std::string edited = WithCrLfLineEnds(editedText);
  if (edited == WithCrLfLineEnds(document.operationLog)) return false;
  document.operationLog = std::move(edited);
  document.modified = true;
  return true;
}

}  // namespace chromiva::acquisition
