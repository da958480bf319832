// The number entry that changes the graph's axis limits: a click in one of the plot area's four
// corners opens CEditNumDlg with the limit, and OK stores the typed number within its bound.
#pragma once

#include "chromiva/acquisition/texts.h"

#include <optional>
#include <string>

#include "chromiva/acquisition/axis_limits.h"
#include "chromiva/acquisition/form_port.h"
#include "chromiva/acquisition/frame_rect.h"

namespace chromiva::acquisition {

// CEditNumDlg without widgets: the number it opens with and the text of its label static.
inline constexpr const char* kEditNumberCaption = TR_NOOP("Form", "数値編集");
inline constexpr const char* kMaximumLabel = TR_NOOP("Form", "最大値");
inline constexpr const char* kMinimumLabel = TR_NOOP("Form", "最小値");
// Shown when an entry would leave a maximum at or below its minimum; nothing changes then.
inline constexpr const char* kCrossedLimitRefusal =
    TR_NOOP("Form", "最大値は最小値より大きい値にしてください。");

struct EditNumber {
  float value = 8192.0f;
  std::string label = kMaximumLabel;
};

// The edit's text on opening: "%5.0f" of the value ("  160", " 8192").
std::string EditNumberText(float value);
// The edit's text read on OK: leading blanks skipped, reading stops at the first character that
// does not fit a decimal number, no number gives 0 ("12abc" -> 12, "abc" -> 0).
float ReadEditNumber(const std::string& text);

enum class AxisCorner { kNone, kGraphMax, kGraphMin, kRatioMax, kRatioMin };

// Which corner zone of the plot area holds the point (graph-frame coordinates, bounds
// inclusive): 50 pixels wide and 30 high at each corner.
AxisCorner AxisCornerAt(const FrameRect& plotArea, int x, int y);
// The zone's rectangle, bounds inclusive (right and bottom belong to the zone).
FrameRect AxisCornerZone(const FrameRect& plotArea, AxisCorner corner);

// Left-button click on the form at (formX, formY): in a corner zone, asks for the limit through
// the port's number entry; on OK the number is truncated toward zero, raised to the limit's
// lower bound (graphMax 500, graphMin -8192, ratioMax 25, ratioMin -100) and stored, and the
// graph is redrawn. An entry that would leave a maximum at or below its minimum is refused with
// a message and changes nothing. Returns true when a limit changed.
bool EditAxisLimit(FormPort& port, AxisLimits& limits, const FrameRect& plotArea, int formX,
                   int formY);

}  // namespace chromiva::acquisition
