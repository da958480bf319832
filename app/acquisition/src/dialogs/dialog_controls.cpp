#include "chromiva/acquisition/dialogs/dialog_controls.h"

#include <stdexcept>

#include "chromiva/data/csv.h"

namespace chromiva::acquisition::dialogs {

DialogControls::DialogControls(std::initializer_list<InitialCaption> captions) {
  for (const InitialCaption& initial : captions) controls_[initial.id].text = initial.caption;
}

const ControlState& DialogControls::At(int id) const {
  auto found = controls_.find(id);
  if (found == controls_.end()) throw std::out_of_range("no dialog control " + std::to_string(id));
  return found->second;
}

int DialogControls::Integer(int id) const {
  return data::ParseDialogInteger(Text(id));
}

}  // namespace chromiva::acquisition::dialogs
