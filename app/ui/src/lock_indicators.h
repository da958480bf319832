// The keyboard's lock states for the status bar's CAP, NUM and SCRL panes. On X11 they are read
// from XKB through the X library the platform plugin has loaded (looked up at run time, so the
// program does not link it); elsewhere they are unknown and the panes stay grey.
#pragma once

#include <optional>

class QStatusBar;
class QWidget;

namespace chromiva::ui {

struct LockStates {
  bool caps = false;
  bool num = false;
  bool scroll = false;
};

// The states as the keyboard shows them now; nothing when they cannot be read here.
std::optional<LockStates> ReadLockStates();

// Adds the panes "CAP", "NUM" and "SCRL" (object names "indicatorCAP", ...) to `bar`. While
// `window` is the active window they follow the lock states four times a second; where the
// states cannot be read they stay grey.
void AddLockIndicators(QWidget& window, QStatusBar& bar);

}  // namespace chromiva::ui
