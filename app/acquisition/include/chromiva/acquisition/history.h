// The operation history: time-stamped event lines in the document's log, its export as a text
// file and the take-over of the history dialog's edits.
#pragma once

#include <ctime>
#include <filesystem>
#include <string>

#include "chromiva/data/document.h"

namespace chromiva::acquisition {

// "%Y/%m/%d %H:%M:%S," in local time, the event text, CR LF.
std::string FormatLogLine(std::time_t now, const std::string& text);
// Appends the line to the document's operationLog and marks the document modified.
void AppendLog(data::Ctintrose_mfDoc& document, std::time_t now, const std::string& text);

struct HistorySaveResult {
  bool ok = false;
  std::string message;  // what went wrong, when not ok
};

// Writes the log as stored (not as edited) to a text file: CR characters dropped, every line
// ended with CR LF, the text in code page 932. The file is replaced only when complete.
HistorySaveResult SaveHistoryText(const std::string& operationLog,
                                  const std::filesystem::path& path);

// The history as the dialog's edit shows it: LF line ends.
std::string HistoryForEditing(const std::string& operationLog);
// Closing the dialog: an edit that differs from the log becomes the new log (with CR LF line
// ends) and marks the document modified. Returns whether the log changed.
bool TakeOverHistoryEdit(data::Ctintrose_mfDoc& document, const std::string& editedText);

}  // namespace chromiva::acquisition
