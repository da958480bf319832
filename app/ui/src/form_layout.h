// Where the form's controls go: kind and place of every control in form client pixels. Only
// the graph frame depends on the form's client height.
#pragma once

#include <QRect>
#include <span>

namespace chromiva::ui {

enum class ControlKind {
  kGraphFrame,
  kOwnerDrawn,  // draws nothing
  kTitle,
  kStatic,
  kButton,
  kRadio,
  kCheckBox,
  kEdit,
  kReadOnlyEdit,
  kListBox,
  kDropDownList
};

struct ControlSpec {
  int id;
  ControlKind kind;
  QRect place;  // the graph frame's height is replaced by the client height less 35
};

// Every control of the form, the visible ones first in tab order.
std::span<const ControlSpec> FormControls();

// The control's rectangle for the client height `clientHeight`; an empty one for unknown ids.
QRect ControlPlace(int id, int clientHeight);

}  // namespace chromiva::ui
