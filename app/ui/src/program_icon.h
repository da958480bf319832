// The program's icon (window, about box), from the PNG sizes compiled into the program: PNG
// needs no image plugin, so it shows on every machine that runs Qt.
#pragma once

#include <QIcon>

namespace chromiva::ui {

// The sizes in pixels that are compiled in and installed under share/icons/hicolor.
inline constexpr int kProgramIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

QIcon ProgramIcon();

}  // namespace chromiva::ui
