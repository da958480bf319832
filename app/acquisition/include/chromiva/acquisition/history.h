// The operation history: time-stamped event lines in the document's log, its export as a text
// file and the take-over of the history dialog's edits.
#pragma once

#include "chromiva/acquisition/texts.h"

#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

#include "chromiva/data/document.h"

namespace chromiva::acquisition {

// "%Y/%m/%d %H:%M:%S," in local time, the event text, CR LF.
std::string FormatLogLine(std::time_t now, const std::string& text);
// Appends the line to the document's operationLog and marks the document modified. The log
// holds code page 932 bytes: the time and the UTF-8 `text` are converted once; `storedBytes`
// (pieces of stored texts such as serial numbers, already code page 932) follow as they are.
void AppendLog(data::Ctintrose_mfDoc& document, std::time_t now, const std::string& text,
               std::string_view storedBytes = {});

struct HistorySaveResult {
  bool ok = false;
  std::string message;  // what went wrong, when not ok
};

// Writes the log as stored (not as edited) to a text file: CR characters dropped, every line
// ended with CR LF, the stored code page 932 bytes as they are. The file is replaced only when
// complete; the message names `path` and the system's reason.
HistorySaveResult SaveHistoryText(const std::string& operationLog,
                                  const std::filesystem::path& path);

// The history as the dialog's edit shows it: decoded for showing, LF line ends.
std::string HistoryForEditing(const std::string& operationLog);

enum class HistoryEdit {
  kUnchanged,  // the edit shows the log as it is; its bytes stay
  kTakenOver,  // the edit became the log
  kRefused,    // the edit holds characters that code page 932 cannot store; the log stays
};
inline constexpr const char* kHistoryEditRefusal =
    TR_NOOP("Form", "履歴に保存できない文字が含まれています。");  // shown for kRefused

// Closing the dialog: an edit that differs from the log is converted once to code page 932 and
// becomes the new log (with CR LF line ends), marking the document modified.
HistoryEdit TakeOverHistoryEdit(data::Ctintrose_mfDoc& document, const std::string& editedText);

}  // namespace chromiva::acquisition
