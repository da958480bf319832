#include "graph_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "chromiva/data/tables.h"

namespace chromiva::ui {
namespace {

// Ticks beyond this many are not drawn: their labels would lie on top of each other long before.
constexpr int kMaxDrawnTicks = 4096;

std::string Format(const char* format, int value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string FormatRatio(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%3.0f", value);
  return text;
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {  // b > 0
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}

// n / d rounded to nearest, halves toward the lower value (d > 0).
int RoundHalfDown(std::int64_t n, std::int64_t d) {
  return static_cast<int>(-FloorDiv(-(2 * n - d), 2 * d));
}

std::uint8_t ColourByte(double component) {
  // Truncated toward zero, low 8 bits kept.
  return static_cast<std::uint8_t>(static_cast<std::int64_t>(component * 255.0) & 0xFF);
}

std::uint8_t Wrap(int value) {
  return static_cast<std::uint8_t>(value & 0xFF);
}

bool Skipped(const GraphScene& scene, int sensor) {
  return scene.selectedOnly && sensor != scene.selectedSensor;
}

Curve SpectrumCurve(CurveFamily family, int shade, const data::GridArray& values,
                    const AxisBox& box, const auto& height) {
  Curve curve{family, shade, {}};
  curve.points.resize(data::kGridSamples);
  for (int i = 0; i < data::kGridSamples; ++i) {
    curve.points[i] = {box.x0 + i, box.yb - height(static_cast<double>(values[i]))};
  }
  return curve;
}

Curve ReferenceCurve(const AxisBox& box) {
  const int H = box.Height();
  Curve curve{CurveFamily::kReference, 0, {}};
  curve.points.resize(data::kGridSamples);
  const int firstRow = data::kGridStartNm - 300;
  for (int i = 0; i < data::kGridSamples; ++i) {
    double value = data::referenceResponseTable[firstRow + i].value;
    curve.points[i] = {box.x0 + i, box.yb - LimitedHeight(value * H / 100.0, H)};
  }
  return curve;
}

Curve GainCurve(const GraphScene& scene, int sensor, const AxisBox& box) {
  const int H = box.Height();
  Curve curve{CurveFamily::kGain, sensor, {}};
  const int pixels = std::clamp(scene.pixelCount[sensor], 0, data::kMaxPixels);
  for (int p = 0; p < pixels; ++p) {
    double d = static_cast<double>(scene.wavelength[sensor][p]) - data::kGridStartNm;
    if (!(d >= 0.0 && d <= data::kGridSamples)) continue;
    double sensitivity = scene.sensitivity[sensor][p];
    int h = LimitedHeight(H * (1.0 / sensitivity), H);
    curve.points.push_back({box.x0 + static_cast<int>(d), box.yb - h});
  }
  return curve;
}

void AppendRun(std::vector<Run>& runs, int x, int y, bool vertical) {
  if (!runs.empty()) {
    Run& last = runs.back();
    if (last.vertical == vertical) {
      if (vertical && last.x == x) {
        if (y == last.y + last.length) {
          ++last.length;
          return;
        }
        if (y == last.y - 1) {
          --last.y;
          ++last.length;
          return;
        }
      }
      if (!vertical && last.y == y) {
        if (x == last.x + last.length) {
          ++last.length;
          return;
        }
        if (x == last.x - 1) {
          --last.x;
          ++last.length;
          return;
        }
      }
    }
  }
  runs.push_back({x, y, 1, vertical});
}

}  // namespace

FrameLayout LayoutGraphFrame(int clientHeight) {
  const int hc = clientHeight;
  FrameLayout layout;
  layout.clientHeight = hc;
  layout.height = std::max(hc - 35, 1);
  layout.frameOnForm = {acquisition::kGraphFrameLeft, acquisition::kGraphFrameTop,
                        acquisition::kGraphFrameLeft + layout.width,
                        acquisition::kGraphFrameTop + layout.height};
  layout.statusBox = {5, 5, 595, 35};
  layout.plotArea = {5, 40, 595, hc - 120};
  layout.colourBar = {5, hc - 115, 595, hc - 95};
  layout.messageBox = {5, hc - 90, 595, hc - 40};
  layout.logoAreaOnForm = {615, 5, 615 + kLogoWidth, 5 + kLogoHeight};
  const Rect& onForm = layout.logoAreaOnForm;
  const int dx = -layout.plotArea.left;
  const int dy = -layout.plotArea.top + 10;
  layout.logoArea = {onForm.left + dx, onForm.top + dy, onForm.right + dx, onForm.bottom + dy};
  return layout;
}

AxisBox AxisBoxOf(const Rect& plotArea) {
  AxisBox box;
  box.x0 = plotArea.right - data::kGridSamples - 40;
  box.x1 = plotArea.right - 40;
  box.y0 = plotArea.top + 5;
  box.yb = plotArea.bottom - 25;
  return box;
}

std::vector<WavelengthLine> WavelengthGrid(const AxisBox& box) {
  std::vector<WavelengthLine> lines;
  for (int i = 0; i < data::kGridSamples - 1; ++i) {
    const int nm = data::kGridStartNm + i;
    if (nm % 50 != 0) continue;
    lines.push_back({box.x0 + i, {{box.x0 + i - 10, box.yb + 2}, Format("%d", nm)}});
  }
  return lines;
}

acquisition::AxisLimits DrawableLimits(const acquisition::AxisLimits& limits) {
  acquisition::AxisLimits drawn = limits;
  if (drawn.graphMax <= drawn.graphMin) drawn.graphMax = drawn.graphMin + 1;
  if (drawn.ratioMax <= drawn.ratioMin) drawn.ratioMax = drawn.ratioMin + 1;
  return drawn;
}

AxisTicks ComputeTicks(const AxisBox& box, const acquisition::AxisLimits& requested) {
  const acquisition::AxisLimits limits = DrawableLimits(requested);
  const std::int64_t H = box.Height();
  const std::int64_t low = limits.graphMin;
  const std::int64_t high = limits.graphMax;
  const std::int64_t range = high - low;
  AxisTicks ticks;
  ticks.step = range <= 1000 ? 100 : range <= 2000 ? 500 : range < 10000 ? 1000 : 5000;
  const std::int64_t step = ticks.step;
  ticks.tickCount = high >= 1 ? static_cast<int>((high - 1) / step) : 0;
  const std::int64_t ratioRange = static_cast<std::int64_t>(limits.ratioMax) - limits.ratioMin;
  ticks.ratioStep =
      static_cast<int>(ticks.tickCount > 0 ? ratioRange / ticks.tickCount : ratioRange);
  ticks.ratioFullScale = static_cast<int>(H);

  const std::int64_t first = -FloorDiv(-low, step) * step;  // lowest multiple of step >= low
  if (first >= high) return ticks;
  const std::int64_t last = high - 1 - (((high - 1) % step) + step) % step;
  // A last tick on the bottom edge would flatten every ratio curve: the full height instead.
  const std::int64_t lastHeight = (last - low) * H / range;
  if (lastHeight > 0) ticks.ratioFullScale = static_cast<int>(lastHeight);
  for (std::int64_t v = first; v <= last && ticks.ticks.size() < kMaxDrawnTicks; v += step) {
    const int y = static_cast<int>(box.yb - (v - low) * H / range);
    CountTick tick;
    tick.value = static_cast<int>(v);
    tick.y = y;
    tick.line = !(v <= 0 && low >= 0);
    tick.countLabel = {{box.x0 - 35, y - 10}, Format("%4d", tick.value)};
    const double ratio = static_cast<double>(ticks.ratioStep) * static_cast<double>(v / step);
    tick.ratioLabel = {{box.x1 + 5, y - 10}, FormatRatio(ratio)};
    ticks.ticks.push_back(std::move(tick));
  }
  return ticks;
}

int LimitedHeight(double height, int H) {
  if (!std::isfinite(height) || height <= 0.0 || H <= 0) return 0;
  if (height >= H) return H;
  return static_cast<int>(height);
}

int ValueHeight(double value, const acquisition::AxisLimits& requested, int H) {
  const acquisition::AxisLimits limits = DrawableLimits(requested);
  const double range = static_cast<double>(limits.graphMax) - limits.graphMin;
  return LimitedHeight((value - limits.graphMin) * H / range, H);
}

int RatioHeight(double value, const acquisition::AxisLimits& requested, int p, int H) {
  const acquisition::AxisLimits limits = DrawableLimits(requested);
  const double range = static_cast<double>(limits.ratioMax) - limits.ratioMin;
  return LimitedHeight((value - limits.ratioMin) * p / range, H);
}

GraphPlan PlanGraph(const GraphScene& scene, const FrameLayout& layout) {
  GraphPlan plan;
  plan.plotArea = layout.plotArea;
  plan.box = AxisBoxOf(layout.plotArea);
  plan.grid = WavelengthGrid(plan.box);
  plan.ticks = ComputeTicks(plan.box, scene.limits);
  const int H = plan.box.Height();
  const int p = plan.ticks.ratioFullScale;
  auto valueHeight = [&](double v) { return ValueHeight(v, scene.limits, H); };
  auto ratioHeight = [&](double v) { return RatioHeight(v, scene.limits, p, H); };
  const int sensors = std::clamp(scene.sensorCount, 0, data::kMaxSensors);

  if (scene.colourDisplay) {
    for (int k = 0; k < sensors; ++k) {
      if (Skipped(scene, k)) continue;
      ColumnSet columns;
      columns.sensor = k;
      for (int i = 0; i < data::kGridSamples; ++i) {
        columns.heights[i] = valueHeight(static_cast<double>(scene.display[k][i]));
      }
      plan.columns.push_back(columns);
    }
    return plan;
  }
  for (int k = 0; k < sensors; ++k) {
    if (Skipped(scene, k)) continue;
    plan.curves.push_back(
        SpectrumCurve(CurveFamily::kMeasured, k, scene.display[k], plan.box, valueHeight));
  }
  const int compared = std::clamp(scene.compareSensorCount, 0, data::kMaxSensors);
  for (int k = 0; k < compared; ++k) {
    plan.curves.push_back(
        SpectrumCurve(CurveFamily::kComparison, k, scene.compare[k], plan.box, valueHeight));
  }
  if (scene.measureMode != data::kLightSource) {
    for (int k = 0; k < sensors; ++k) {
      if (Skipped(scene, k)) continue;
      plan.curves.push_back(
          SpectrumCurve(CurveFamily::kRatio, k, scene.ratio[k], plan.box, ratioHeight));
    }
  }
  if (scene.maintenanceMode) {
    plan.curves.push_back(ReferenceCurve(plan.box));
    for (int k = 0; k < sensors; ++k) {
      if (!Skipped(scene, k)) plan.curves.push_back(GainCurve(scene, k, plan.box));
    }
  }
  return plan;
}

Rgb ShadeColour(CurveFamily family, int shade) {
  const int a = (50 * shade) & 0xFF;
  const std::uint8_t e = Wrap(255 - a);
  const std::uint8_t f = Wrap(128 - a);
  switch (family) {
    case CurveFamily::kMeasured:
      return {0, e, 0};
    case CurveFamily::kComparison:
      return {e, 0, 0};
    case CurveFamily::kRatio:
      return {60, 60, e};
    case CurveFamily::kGain:
      return {f, 0, e};
    case CurveFamily::kReference:
      return {e, f, e};
  }
  return {};
}

Rgb WavelengthRowColour(int row) {
  const data::WavelengthColourRow& colour =
      data::wavelengthColourTable[std::clamp(row, 0, data::kWavelengthColourRows - 1)];
  return {ColourByte(colour.red), ColourByte(colour.green), ColourByte(colour.blue)};
}

std::array<Cell, 51> ColourBarCells(const FrameLayout& layout) {
  std::array<Cell, 51> cells{};
  const Rect& bar = layout.colourBar;
  const int x0 = bar.right - data::kGridSamples - 40;
  const int top = bar.top + 5;
  const int height = bar.bottom - bar.top - 10;
  for (int k = 0; k < 51; ++k) {
    cells[k] = {{x0 + 10 * k, top, x0 + 10 * k + 10, top + height}, WavelengthRowColour(k)};
  }
  return cells;
}

Point FirstLineAt(const Rect& box) {
  return {box.left + 10, box.top + 5};
}
Point SecondLineAt(const Rect& box) {
  return {box.left + 10, box.top + 25};
}

void AppendLineRuns(Point a, Point b, std::vector<Run>& runs) {
  const int dx = b.x - a.x;
  const int dy = b.y - a.y;
  const int adx = std::abs(dx);
  const int ady = std::abs(dy);
  if (adx >= ady) {
    const int sx = dx > 0 ? 1 : -1;
    for (int t = 0; t < adx; ++t) {
      AppendRun(runs, a.x + sx * t, a.y + RoundHalfDown(std::int64_t{dy} * t, adx), false);
    }
  } else {
    const int sy = dy > 0 ? 1 : -1;
    for (int t = 0; t < ady; ++t) {
      AppendRun(runs, a.x + RoundHalfDown(std::int64_t{dx} * t, ady), a.y + sy * t, true);
    }
  }
}

void AppendPolylineRuns(const std::vector<Point>& points, std::vector<Run>& runs) {
  for (std::size_t i = 1; i < points.size(); ++i) AppendLineRuns(points[i - 1], points[i], runs);
}

}  // namespace chromiva::ui
