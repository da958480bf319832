// The mirror control dialog (dialog 134), opened by a double-click on a "M-MIRROR" line of the
// form's device list (1004).
#pragma once

#include "chromiva/acquisition/texts.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "chromiva/acquisition/dialogs/dialog_controls.h"

namespace chromiva::acquisition::dialogs {

namespace mirror_ids {
inline constexpr int kDialog = 134;
inline constexpr const char* kTitle = TR_NOOP("Form", "ミラー制御");
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kSet = 1058;       // "set"
inline constexpr int kPosition = 1059;  // edit
inline constexpr int kPlus = 1060;      // "+1000"
inline constexpr int kMinus = 1061;     // "-1000"
inline constexpr int kStep = 1000;
inline constexpr const char* kDeviceLine = "M-MIRROR";
}  // namespace mirror_ids

class MirrorDialog {
 public:
  // `send` moves the mirror: device index and a position 0 .. 65535. By default SetMirror.
  using Sender = std::function<void(int deviceIndex, int position)>;
  explicit MirrorDialog(int mirrorDeviceIndex, Sender send = {});

  DialogControls& controls() { return controls_; }
  const DialogControls& controls() const { return controls_; }

  // Typed text of edit 1059.
  void EditChanged(std::string text) { controls_.SetText(mirror_ids::kPosition, std::move(text)); }
  // "+1000" (1060), "-1000" (1061), "set" (1058); OK and Cancel only close.
  void Clicked(int id);
  std::int16_t position() const { return position_; }

 private:
  void Step(int delta);

  int deviceIndex_;
  Sender send_;
  std::int16_t position_ = 0;
  DialogControls controls_;
};

// Whether a device-list line opens the mirror dialog.
bool OpensMirrorDialog(std::string_view deviceListLine);

// An edit's text as the dialog reads it: leading blanks and a sign, digits up to the first
// other character (saturating at the int range), no digits gives 0.
int ParseLeadingInteger(std::string_view text);

}  // namespace chromiva::acquisition::dialogs
