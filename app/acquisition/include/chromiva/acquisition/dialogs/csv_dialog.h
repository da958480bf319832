// The CSV export dialog (dialog 133): the opener behind the form's button 1052 and command
// 32774, the dialog's control rules and its OK rules.
#pragma once

#include <functional>
#include <string>

#include "chromiva/acquisition/dialogs/csv_dialog_ids.h"
#include "chromiva/acquisition/dialogs/dialog_controls.h"
#include "chromiva/acquisition/form_port.h"
#include "chromiva/acquisition/form_state.h"
#include "chromiva/data/csv.h"
#include "chromiva/data/document.h"
#include "chromiva/data/processing.h"

namespace chromiva::acquisition::dialogs {

// The five number edits and the fixed-name edit, as typed.
struct CsvDialogFields {
  std::string startNm;
  std::string endNm;
  std::string stepNm;
  std::string firstNumber;  // 1-based
  std::string lastNumber;   // 1-based, inclusive
  std::string fixedName;
};

struct CsvDialogOutcome {
  bool accepted = false;
  std::string refusal;  // shown to the operator when not accepted
  data::CsvGrid grid;
  data::CsvRange range;
  std::string fixedName;
};

// The OK rules: clamps the wavelengths into 340 to 850 nm (start <= end), turns the 1-based
// data numbers into a range within `recordCount`, completes the fixed name with ".csv" and
// refuses a step below 1.
CsvDialogOutcome ApplyCsvDialogOk(const CsvDialogFields& fields, int recordCount);

// Caption of the form's button 1052: "CSV保存(AUTO)" while automatic saving is on.
const char* CsvButtonCaption(bool csvAuto);

class CsvDialog {
 public:
  // Filled from `settings`: the data numbers 1 to the record count of sensor slot 0, the
  // sensor choice on slot 0, then the automatic-save state applied.
  CsvDialog(const data::Ctintrose_mfDoc& document, const data::CsvSettings& settings,
            FormPort& port);

  DialogControls& controls() { return controls_; }
  const DialogControls& controls() const { return controls_; }

  // A click on a check box, radio or button: 1049, 1050, 1057, 1058 toggle their box, 1059
  // toggles automatic saving, 1061, 1062, 1064 choose the file naming, 1066 browses.
  void Clicked(int id);
  // A selection in list 1056 (sensor) or 1068 (target, read only at OK).
  void Selected(int id, int index);
  // Typed text of an edit.
  void EditChanged(int id, std::string text) { controls_.SetText(id, std::move(text)); }

  // OK: applies the OK rules. False (with the refusal shown) keeps the dialog open.
  bool Ok();
  bool Accepted() const { return accepted_; }
  // After an accepted OK: the settings to copy back and the records to export.
  const data::CsvSettings& settings() const { return settings_; }
  data::CsvRange range() const { return range_; }

 private:
  void FillControls();
  void ApplyAutoState();
  void Browse();

  const data::Ctintrose_mfDoc& document_;
  FormPort& port_;
  data::CsvSettings settings_;
  DialogControls controls_;
  std::string heldFolder_;
  int sensorChoice_ = 0;
  bool accepted_ = false;
  data::CsvRange range_;
};

// What the CSV button needs from the form.
struct CsvDialogContext {
  data::Ctintrose_mfDoc& document;
  data::ProcessingState& processing;
  data::CsvSettings& settings;
  int selectedSensor = -1;
  bool measuring = false;
  FormPort& port;
};

// Shows the dialog modally; true when it was closed with an accepted OK.
using RunCsvDialog = std::function<bool(CsvDialog&)>;

// Button 1052 and command 32774: refuses without committed records of the selected sensor (or
// while measuring), runs the dialog, copies its settings back, sets the caption of 1052 and,
// for a manual record export with a non-empty range or a reference target, asks for the file
// and writes it. Returns whether the dialog was confirmed.
bool OpenCsvDialog(const CsvDialogContext& context, const RunCsvDialog& runModal);

}  // namespace chromiva::acquisition::dialogs
