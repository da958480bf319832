#include "chromiva/acquisition/dialogs/history_dialog.h"

#include "chromiva/acquisition/history.h"

namespace chromiva::acquisition::dialogs {

using namespace history_ids;

HistoryDialog::HistoryDialog(data::Ctintrose_mfDoc& document, FormPort& port)
    : document_(document), port_(port), controls_({{kSave, kSaveCaption}}) {
  controls_.SetText(kText, HistoryForEditing(document_.operationLog));
}

void HistoryDialog::SaveClicked() {
  auto path = port_.ChooseSaveFile({kFilter, kExtension, kInitialName});
  if (!path) return;
  const HistorySaveResult saved = SaveHistoryText(document_.operationLog, *path);
  if (!saved.ok) port_.ShowOkMessage(saved.message);
}

bool HistoryDialog::Close() {
  const HistoryEdit edit = TakeOverHistoryEdit(document_, controls_.Text(kText));
  if (edit == HistoryEdit::kRefused) port_.ShowOkMessage(kHistoryEditRefusal);
  return edit == HistoryEdit::kTakenOver;
}

bool OpenHistoryDialog(data::Ctintrose_mfDoc& document, FormPort& port,
                       const RunHistoryDialog& runModal) {
  if (document.operationLog.empty()) {
    port.ShowMessage(kEmpty);
    return false;
  }
  port.ShowMessage(kShowing);
  HistoryDialog dialog(document, port);
  runModal(dialog);
  return true;
}

}  // namespace chromiva::acquisition::dialogs
