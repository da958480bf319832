// Where everything inside the graph frame goes, as plain data: the rectangles for a form client
// height, the axis box, the wavelength grid, the count and ratio ticks with their labels, the
// curves as points with their heights limited to the axis box, the coloured columns, the colour
// bar cells and the colours of every pen. The painter only draws what this computes.
//
// Pixel rules: a line from a to b covers a and stops one pixel before b; a polyline draws each of
// its segments so, hence never its last point; a rectangle (l, t, r, b) outlines columns l .. r-1
// and rows t .. b-1 and fills its inside white.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "chromiva/acquisition/frame_rect.h"
#include "graph_scene.h"

namespace chromiva::ui {

using Rect = acquisition::FrameRect;

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  bool operator==(const Rgb&) const = default;
};

// The graph frame (control 1000) and the rectangles inside it, in the frame's own coordinates,
// for a form client height Hc. The logo area lies right of the frame, on the form.
struct FrameLayout {
  int clientHeight = 0;
  Rect frameOnForm;  // 5, 30, 605, Hc - 5
  int width = 600;
  int height = 0;  // Hc - 35, at least 1
  Rect statusBox;
  Rect plotArea;
  Rect colourBar;
  Rect messageBox;
  Rect logoArea;        // frame coordinates: 610, -25, 770, 61
  Rect logoAreaOnForm;  // 615, 5, 775, 91
};

// The form client height of the default 818 x 672 main window at 96 dpi: 672 less the sizing
// borders (8 + 8), caption (23), menu bar (20), toolbar (28) and status bar (22).
inline constexpr int kDefaultClientHeight = 563;
inline constexpr int kLogoWidth = 160;
inline constexpr int kLogoHeight = 86;

FrameLayout LayoutGraphFrame(int clientHeight);

// The axis box inside the plot area: samples i = 0 .. 510 at x0 + i; yb is the zero line.
struct AxisBox {
  int x0 = 0;
  int x1 = 0;
  int y0 = 0;
  int yb = 0;
  int Height() const { return yb > y0 ? yb - y0 : 0; }
};

AxisBox AxisBoxOf(const Rect& plotArea);

struct TextAt {
  Point at;  // top-left corner of the text
  std::string text;
};

// Vertical grid line at x from y0 to yb, labelled with its wavelength (350 .. 800 nm).
struct WavelengthLine {
  int x = 0;
  TextAt label;
};

std::vector<WavelengthLine> WavelengthGrid(const AxisBox& box);

struct CountTick {
  int value = 0;
  int y = 0;
  bool line = true;  // false for the bottom edge (v <= 0 with graphMin >= 0)
  TextAt countLabel;
  TextAt ratioLabel;
};

struct AxisTicks {
  int step = 0;            // 100, 500, 1000 or 5000 counts
  int tickCount = 0;       // multiples of step (k >= 1) below graphMax
  int ratioStep = 0;       // percent per tick
  int ratioFullScale = 0;  // p: height of the last tick; H when no tick is above yb
  std::vector<CountTick> ticks;
};

// Limits as drawn: a maximum at or below its minimum is drawn as minimum + 1 (entries that would
// cross them are refused, but a settings file may still hold such a pair).
acquisition::AxisLimits DrawableLimits(const acquisition::AxisLimits& limits);

AxisTicks ComputeTicks(const AxisBox& box, const acquisition::AxisLimits& limits);

// Heights above yb, truncated toward zero and limited to 0 .. H; a value that is not a finite
// number draws at 0.
int ValueHeight(double value, const acquisition::AxisLimits& limits, int H);
int RatioHeight(double value, const acquisition::AxisLimits& limits, int p, int H);
int LimitedHeight(double height, int H);

enum class CurveFamily { kMeasured, kComparison, kRatio, kGain, kReference };

struct Curve {
  CurveFamily family = CurveFamily::kMeasured;
  int shade = 0;
  std::vector<Point> points;  // a polyline: the first point is a move-to
};

// Coloured-column mode: column i of a sensor goes from yb up by heights[i] pixels.
struct ColumnSet {
  int sensor = 0;
  std::array<int, data::kGridSamples> heights{};
};

struct GraphPlan {
  Rect plotArea;
  AxisBox box;
  std::vector<WavelengthLine> grid;
  AxisTicks ticks;
  std::vector<ColumnSet> columns;
  std::vector<Curve> curves;  // in drawing order
};

GraphPlan PlanGraph(const GraphScene& scene, const FrameLayout& layout);

// Colours. Shade k of a family (k = 0 .. 9); the grid and the reference curve use shade 0.
Rgb ShadeColour(CurveFamily family, int shade);
inline constexpr Rgb kGridColour{192, 192, 192};
// The colour of wavelengthColourTable's row for 340 + 10 * row nm, as bytes.
Rgb WavelengthRowColour(int row);
// The pen of display sample i in the coloured-column mode.
inline Rgb SampleColour(int sample) {
  return WavelengthRowColour(sample / 10);
}

// The 51 cells of the colour bar (solid fills, right and bottom exclusive).
struct Cell {
  Rect rect;
  Rgb colour;
};
std::array<Cell, 51> ColourBarCells(const FrameLayout& layout);

// The text places of the status and message boxes.
Point FirstLineAt(const Rect& box);
Point SecondLineAt(const Rect& box);

// A line's pixels as runs of one row (horizontal) or one column (vertical).
struct Run {
  int x = 0;
  int y = 0;
  int length = 1;
  bool vertical = false;
  bool operator==(const Run&) const = default;
};
// Pixels of the line from a to b, b itself excluded: Bresenham steps along the major axis, the
// minor coordinate rounded to nearest with halves going to the lower coordinate.
void AppendLineRuns(Point a, Point b, std::vector<Run>& runs);
void AppendPolylineRuns(const std::vector<Point>& points, std::vector<Run>& runs);

}  // namespace chromiva::ui
