// The operation history dialog (dialog 130) and the form's button 1039 that opens it.
#pragma once

#include "chromiva/acquisition/texts.h"

#include <functional>

#include "chromiva/acquisition/dialogs/dialog_controls.h"
#include "chromiva/acquisition/form_port.h"
#include "chromiva/data/document.h"

namespace chromiva::acquisition::dialogs {

namespace history_ids {
inline constexpr int kDialog = 130;
inline constexpr const char* kTitle = TR_NOOP("Form", "作業履歴（検出～計測、任意文字挿入可能）");
inline constexpr int kText = 1057;  // multi-line edit with the history
inline constexpr int kSave = 1073;  // "テキストファイル保存"
inline constexpr const char* kSaveCaption = TR_NOOP("Form", "テキストファイル保存");
inline constexpr const char* kShowing = TR_NOOP("Form", "計測の履歴を表示します");
inline constexpr const char* kEmpty =
    TR_NOOP("Form", "計測の履歴を表示しますが、履歴がありませんでした");
inline constexpr const char* kFilter = TR_NOOP("Form", "txt file(*.txt)|*.txt||");
inline constexpr const char* kExtension = "txt";
inline constexpr const char* kInitialName = "log.txt";
}  // namespace history_ids

class HistoryDialog {
 public:
  // The edit shows the document's operationLog (LF line ends).
  HistoryDialog(data::Ctintrose_mfDoc& document, FormPort& port);

  DialogControls& controls() { return controls_; }
  const DialogControls& controls() const { return controls_; }

  // Typed text of edit 1057.
  void EditChanged(std::string text) { controls_.SetText(history_ids::kText, std::move(text)); }
  // Button 1073: writes the history as stored (not the edit) to a chosen text file.
  void SaveClicked();
  // Enter (the default OK): the dialog ends and the edit is not taken over.
  void Enter() {}
  // Esc or the close box: an edit that differs from the history replaces it and marks the
  // document modified. Returns whether it did. An edit that code page 932 cannot hold is
  // refused with kHistoryEditRefusal and the history stays.
  bool Close();

 private:
  data::Ctintrose_mfDoc& document_;
  FormPort& port_;
  DialogControls controls_;
};

// Shows the dialog modally; the Qt dialog calls Enter or Close as it ends.
using RunHistoryDialog = std::function<void(HistoryDialog&)>;

// Button 1039: with a history, the guidance line and the dialog; without, only the guidance
// line. Returns whether the dialog ran.
bool OpenHistoryDialog(data::Ctintrose_mfDoc& document, FormPort& port,
                       const RunHistoryDialog& runModal);

}  // namespace chromiva::acquisition::dialogs
