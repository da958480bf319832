// What a control of the form or of a dialog shows, mirrored from its state in the control table:
// caption or text, check state, list lines and selection. Only what changed is set, so a refresh
// after every handler neither flickers nor moves a list's scroll position.
#pragma once

#include <QWidget>

#include "chromiva/acquisition/form_state.h"

namespace chromiva::ui {

void MirrorControl(const acquisition::ControlState& state, QWidget* widget);

}  // namespace chromiva::ui
