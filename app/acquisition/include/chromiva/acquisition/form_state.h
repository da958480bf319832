// The form's controls as data: text, enabled, checked and visible state by control id, plus the
// lines of the list boxes. Handlers read and write this table; the window mirrors it.
#pragma once

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

namespace chromiva::acquisition {

struct ControlState {
  std::string text;
  bool enabled = true;
  bool checked = false;
  bool visible = true;
  std::vector<std::string> items;  // list boxes
  int selection = -1;              // list boxes
};

// A control and its caption as a dialog template gives it.
struct InitialCaption {
  int id;
  const char* caption;
};

// The controls of the form or of one dialog.
class ControlTable {
 public:
  // The form's controls with their captions and initial visibility.
  ControlTable();
  // A dialog's controls with their captions.
  explicit ControlTable(std::initializer_list<InitialCaption> captions);

  ControlState& operator[](int id) { return controls_[id]; }
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

  // The edit's text as a decimal integer; text that is not a number reads as 0.
  int Integer(int id) const;

  const std::map<int, ControlState>& All() const { return controls_; }

 private:
  std::map<int, ControlState> controls_;
};

}  // namespace chromiva::acquisition
