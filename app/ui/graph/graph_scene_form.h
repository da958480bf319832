// The graph's scene from the form's read-only views.
#pragma once

#include "chromiva/acquisition/form_logic.h"
#include "graph_scene.h"

namespace chromiva::ui {

GraphScene BuildGraphScene(const acquisition::FormLogic& form);

}  // namespace chromiva::ui
