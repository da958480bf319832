// Rectangles of the graph frame and the frame's place on the form, shared by the graph's
// geometry, its painting and the number entry of the axis limits.
#pragma once

namespace chromiva::acquisition {

// A rectangle in graph-frame pixels: left, top, right, bottom.
struct FrameRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// The graph frame's place on the form: clicks arrive in form coordinates.
inline constexpr int kGraphFrameLeft = 5;
inline constexpr int kGraphFrameTop = 30;

}  // namespace chromiva::acquisition
