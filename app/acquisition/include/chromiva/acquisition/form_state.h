// The form's controls as data: text, enabled, checked and visible state by control id, plus the
// lines of the list boxes. Handlers read and write this table; the window mirrors it.
#pragma once

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

class ControlTable {
 public:
  // The form's controls with their captions and initial visibility.
  ControlTable();

  ControlState& operator[](int id) { return controls_[id]; }
  const ControlState& At(int id) const;

  const std::string& Text(int id) const { return At(id).text; }
  bool Enabled(int id) const { return At(id).enabled; }
  bool Checked(int id) const { return At(id).checked; }
  bool Visible(int id) const { return At(id).visible; }

  void SetText(int id, std::string text) { controls_[id].text = std::move(text); }
  void SetEnabled(int id, bool enabled) { controls_[id].enabled = enabled; }
  void SetChecked(int id, bool checked) { controls_[id].checked = checked; }

  // The edit's text as a decimal integer; text that is not a number reads as 0.
  int Integer(int id) const;

  const std::map<int, ControlState>& All() const { return controls_; }

 private:
  std::map<int, ControlState> controls_;
};

}  // namespace chromiva::acquisition
