#include "chromiva/acquisition/history.h"

#include "chromiva/data/data_file.h"
#include "chromiva/data/text_codec.h"

namespace chromiva::acquisition {
namespace {

// Line ends become CR LF. Bytes 0x0D and 0x0A are never part of a two-byte character of code
// page 932, so this works on stored bytes as well as on UTF-8.
std::string WithCrLfLineEnds(std::string_view text) {
  std::string result;
  result.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n') result.push_back('\r');
    result.push_back(c);
  }
  return result;
}

// The program composes only texts that code page 932 holds; a character that slipped in all
// the same becomes '?' rather than costing the line.
std::string ComposedBytes(std::string_view text) {
  if (auto bytes = data::Utf8ToCp932(text)) return *bytes;
  std::string bytes;
  for (char c : data::DisplayText(text))
    bytes.push_back(static_cast<unsigned char>(c) < 0x80 ? c : '?');
  return bytes;
}

}  // namespace

std::string FormatLogLine(std::time_t now, const std::string& text) {
  return data::FormatLocalTime(now, "%Y/%m/%d %H:%M:%S,") + text + "\r\n";
}

void AppendLog(data::Ctintrose_mfDoc& document, std::time_t now, const std::string& text,
               std::string_view storedBytes) {
  document.operationLog += ComposedBytes(data::FormatLocalTime(now, "%Y/%m/%d %H:%M:%S,") + text);
  document.operationLog += storedBytes;
  document.operationLog += "\r\n";
  document.modified = true;
}

HistorySaveResult SaveHistoryText(const std::string& operationLog,
                                  const std::filesystem::path& path) {
  data::DataFileResult saved = data::SaveBytesFile(path, WithCrLfLineEnds(operationLog));
  if (!saved.ok()) {
    return {false,
            Translated(TR_NOOP("Form", "ファイルを保存できません。")) + "\n" + saved.message};
  }
  return {true, {}};
}

std::string HistoryForEditing(const std::string& operationLog) {
  std::string text;
  text.reserve(operationLog.size());
  for (char c : data::DisplayText(operationLog)) {
    if (c != '\r') text.push_back(c);
  }
  return text;
}

HistoryEdit TakeOverHistoryEdit(data::Ctintrose_mfDoc& document, const std::string& editedText) {
  if (WithCrLfLineEnds(editedText) == WithCrLfLineEnds(HistoryForEditing(document.operationLog))) {
    return HistoryEdit::kUnchanged;
  }
  std::optional<std::string> bytes = data::Utf8ToCp932(WithCrLfLineEnds(editedText));
  if (!bytes) return HistoryEdit::kRefused;
  document.operationLog = std::move(*bytes);
  document.modified = true;
  return HistoryEdit::kTakenOver;
}

}  // namespace chromiva::acquisition
