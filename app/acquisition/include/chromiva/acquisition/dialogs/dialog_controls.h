// The controls of one dialog as data, keyed by their ids: text, enabled, checked, visible,
// list items and selection. The dialog's logic reads and writes this table; the Qt dialog
// mirrors it into its widgets and forwards clicks, selections and typed text by id. Also the
// dialogs' own numbered timers.
#pragma once

#include <initializer_list>
#include <map>
#include <string>
#include <utility>

#include "chromiva/acquisition/form_state.h"

namespace chromiva::acquisition::dialogs {

// A dialog's controls: the same table as the form's, filled with the dialog's captions.
using DialogControls = ControlTable;

// Arms and kills a dialog's own numbered timers: one event `milliseconds` after arming, arming
// again replaces. The Qt dialog keeps a QBasicTimer per number; tests fire them by hand.
class DialogTimers {
 public:
  virtual ~DialogTimers() = default;
  virtual void Arm(int timer, int milliseconds) = 0;
  virtual void Kill(int timer) = 0;
};

}  // namespace chromiva::acquisition::dialogs
