// The controls of one dialog as data, keyed by their ids: text, enabled, checked, visible,
// list items and selection. The dialog's logic reads and writes this table; the Qt dialog
// mirrors it into its widgets and forwards clicks, selections and typed text by id.
#pragma once

#include <initializer_list>
#include <map>
#include <string>
#include <utility>

#include "chromiva/acquisition/form_state.h"

namespace chromiva::acquisition::dialogs {

// A control and its caption as the dialog template gives it.
struct InitialCaption {
  int id;
  const char* caption;
};

class DialogControls {
 public:
  DialogControls() = default;
  DialogControls(std::initializer_list<InitialCaption> captions);

  ControlState& operator[](int id) { return controls_[id]; }
  // The control with this id; throws std::out_of_range for an id the dialog does not have.
  const ControlState& At(int id) const;

  const std::string& Text(int id) const { return At(id).text; }
  bool Enabled(int id) const { return At(id).enabled; }
  bool Checked(int id) const { return At(id).checked; }
  bool Visible(int id) const { return At(id).visible; }
  int Selection(int id) const { return At(id).selection; }

  void SetText(int id, std::string text) { controls_[id].text = std::move(text); }
  void SetEnabled(int id, bool enabled) { controls_[id].enabled = enabled; }
  void SetChecked(int id, bool checked) { controls_[id].checked = checked; }
  void SetVisible(int id, bool visible) { controls_[id].visible = visible; }

  // An edit's text as a decimal integer; text that is not a number reads as 0.
  int Integer(int id) const;

  const std::map<int, ControlState>& All() const { return controls_; }

 private:
  std::map<int, ControlState> controls_;
};

// Arms and kills a dialog's own numbered timers: one event `milliseconds` after arming, arming
// again replaces. The Qt dialog keeps a QBasicTimer per number; tests fire them by hand.
class DialogTimers {
 public:
  virtual ~DialogTimers() = default;
  virtual void Arm(int timer, int milliseconds) = 0;
  virtual void Kill(int timer) = 0;
};

}  // namespace chromiva::acquisition::dialogs
