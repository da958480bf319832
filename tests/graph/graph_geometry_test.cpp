#include "graph_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace chromiva::ui {
namespace {

constexpr int kHc = 563;

bool SameRect(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(GraphGeometryTest, RectanglesFollowTheClientHeight) {
  for (int hc : {kHc, 400, 900}) {
    const FrameLayout layout = LayoutGraphFrame(hc);
    EXPECT_TRUE(SameRect(layout.frameOnForm, {5, 30, 605, hc - 5}));
    EXPECT_TRUE(SameRect(layout.statusBox, {5, 5, 595, 35}));
    EXPECT_TRUE(SameRect(layout.plotArea, {5, 40, 595, hc - 120}));
    EXPECT_TRUE(SameRect(layout.colourBar, {5, hc - 115, 595, hc - 95}));
    EXPECT_TRUE(SameRect(layout.messageBox, {5, hc - 90, 595, hc - 40}));
    EXPECT_TRUE(SameRect(layout.logoArea, {610, -25, 770, 61}));
    EXPECT_TRUE(SameRect(layout.logoAreaOnForm, {615, 5, 775, 91}));
    const AxisBox box = AxisBoxOf(layout.plotArea);
    EXPECT_EQ(box.x0, 44);
    EXPECT_EQ(box.x1, 555);
    EXPECT_EQ(box.y0, 45);
    EXPECT_EQ(box.yb, hc - 145);
  }
  EXPECT_EQ(LayoutGraphFrame(10).height, 1);  // a tiny window still has a frame image
}

TEST(GraphGeometryTest, WavelengthGridEvery50Nanometres) {
  const AxisBox box = AxisBoxOf(LayoutGraphFrame(kHc).plotArea);
  const auto grid = WavelengthGrid(box);
  ASSERT_EQ(grid.size(), 10u);
  for (int j = 0; j < 10; ++j) {
    EXPECT_EQ(grid[j].x, box.x0 + 10 + 50 * j);
    EXPECT_EQ(grid[j].label.text, std::to_string(350 + 50 * j));
    EXPECT_EQ(grid[j].label.at, (Point{box.x0 + 10 + 50 * j - 10, box.yb + 2}));
  }
}

TEST(GraphGeometryTest, DefaultLimitsGiveTicksEvery1000WithRatioLabelsBy20) {
  const AxisBox box = AxisBoxOf(LayoutGraphFrame(kHc).plotArea);
  const int H = box.Height();
  const AxisTicks ticks = ComputeTicks(box, {});
  EXPECT_EQ(ticks.step, 1000);
  EXPECT_EQ(ticks.tickCount, 8);
  EXPECT_EQ(ticks.ratioStep, 20);
  ASSERT_EQ(ticks.ticks.size(), 9u);
  for (int k = 0; k <= 8; ++k) {
    const CountTick& tick = ticks.ticks[k];
    EXPECT_EQ(tick.value, 1000 * k);
    EXPECT_EQ(tick.y, box.yb - 1000 * k * H / 8192);
    EXPECT_EQ(tick.line, k != 0);
    char count[8], ratio[8];
    std::snprintf(count, sizeof count, "%4d", 1000 * k);
    std::snprintf(ratio, sizeof ratio, "%3d", 20 * k);
    EXPECT_EQ(tick.countLabel.text, count);
    EXPECT_EQ(tick.ratioLabel.text, ratio);
    EXPECT_EQ(tick.countLabel.at, (Point{box.x0 - 35, tick.y - 10}));
    EXPECT_EQ(tick.ratioLabel.at, (Point{box.x1 + 5, tick.y - 10}));
  }
  EXPECT_EQ(ticks.ratioFullScale, 8000 * H / 8192);
  // 160 % reaches the 8000 line.
  EXPECT_EQ(box.yb - RatioHeight(160.0, {}, ticks.ratioFullScale, H), ticks.ticks[8].y);
}

TEST(GraphGeometryTest, StepFollowsTheRange) {
  const AxisBox box = AxisBoxOf(LayoutGraphFrame(kHc).plotArea);
  const std::pair<int, int> cases[] = {{1000, 100},  {1001, 500},  {2000, 500},
                                       {2001, 1000}, {9999, 1000}, {10000, 5000}};
  for (auto [range, step] : cases) {
    EXPECT_EQ(ComputeTicks(box, {range, 0, 160, 0}).step, step) << range;
  }
}

TEST(GraphGeometryTest, RatioLabelsStartAtZeroWhateverTheRatioMinimum) {
  const AxisBox box = AxisBoxOf(LayoutGraphFrame(kHc).plotArea);
  const acquisition::AxisLimits limits{8192, 0, 160, 40};
  const AxisTicks ticks = ComputeTicks(box, limits);
  EXPECT_EQ(ticks.ticks.front().ratioLabel.text, "  0");
  EXPECT_EQ(ticks.ticks.back().ratioLabel.text, "120");
  EXPECT_EQ(RatioHeight(40.0, limits, ticks.ratioFullScale, box.Height()), 0);
}

TEST(GraphGeometryTest, NegativeMinimumDrawsEveryTickLine) {
  const AxisBox box = AxisBoxOf(LayoutGraphFrame(kHc).plotArea);
  const AxisTicks ticks = ComputeTicks(box, {8192, -8192, 160, 0});
  EXPECT_EQ(ticks.step, 5000);
  ASSERT_EQ(ticks.ticks.size(), 3u);  // -5000, 0, 5000
  EXPECT_EQ(ticks.ticks[0].value, -5000);
  EXPECT_EQ(ticks.ticks[0].ratioLabel.text, "-160");
  for (const CountTick& tick : ticks.ticks) EXPECT_TRUE(tick.line);
}

TEST(GraphGeometryTest, NoTickInRangeUsesTheFullHeight) {
  const AxisBox box = AxisBoxOf(LayoutGraphFrame(kHc).plotArea);
  const AxisTicks ticks = ComputeTicks(box, {590, 510, 160, 0});
  EXPECT_TRUE(ticks.ticks.empty());
  EXPECT_EQ(ticks.ratioFullScale, box.Height());
}

TEST(GraphGeometryTest, EqualOrCrossedLimitsDrawWithARangeOfOne) {
  const AxisBox box = AxisBoxOf(LayoutGraphFrame(kHc).plotArea);
  const int H = box.Height();
  for (acquisition::AxisLimits limits :
       {acquisition::AxisLimits{100, 100, 50, 50}, acquisition::AxisLimits{0, 100, 0, 50}}) {
    const AxisTicks ticks = ComputeTicks(box, limits);
    EXPECT_LE(ticks.ticks.size(), 1u);
    EXPECT_EQ(ValueHeight(100.5, limits, H), H / 2);
    EXPECT_EQ(RatioHeight(1e9, limits, ticks.ratioFullScale, H), H);
  }
}

TEST(GraphGeometryTest, HeightsAreTruncatedAndLimited) {
  const int H = 400;
  const acquisition::AxisLimits limits;
  const std::pair<double, int> cases[] = {
      {4096.0, 200}, {4095.0, 199}, {-5.0, 0},      {9000.0, H}, {1e300, H},
      {NAN, 0},      {INFINITY, 0}, {-INFINITY, 0}, {20.47, 0},  {20.5, 1},
  };
  for (auto [value, height] : cases) EXPECT_EQ(ValueHeight(value, limits, H), height) << value;
}

GraphScene TwoSensors() {
  GraphScene scene;
  scene.sensorCount = 2;
  for (int k = 0; k < 2; ++k) {
    scene.display[k].fill(1000.0f * (k + 1));
    scene.ratio[k].fill(50.0f);
    scene.pixelCount[k] = 3;
    scene.wavelength[k] = {};
    scene.wavelength[k][0] = 330.0f;  // left out
    scene.wavelength[k][1] = 500.7f;
    scene.wavelength[k][2] = 600.0f;
    scene.sensitivity[k][1] = 2.0f;
    scene.sensitivity[k][2] = 0.0f;  // height 0
  }
  scene.compareSensorCount = 1;
  scene.compare[0].fill(3000.0f);
  return scene;
}

std::vector<std::pair<CurveFamily, int>> Families(const GraphPlan& plan) {
  std::vector<std::pair<CurveFamily, int>> families;
  for (const Curve& curve : plan.curves) families.emplace_back(curve.family, curve.shade);
  return families;
}

using F = CurveFamily;

TEST(GraphGeometryTest, CurveFamiliesFollowTheScene) {
  const FrameLayout layout = LayoutGraphFrame(kHc);
  GraphScene scene = TwoSensors();
  using List = std::vector<std::pair<CurveFamily, int>>;
  EXPECT_EQ(Families(PlanGraph(scene, layout)),
            (List{{F::kMeasured, 0}, {F::kMeasured, 1}, {F::kComparison, 0}}));
  scene.measureMode = data::kReflectance;
  scene.maintenanceMode = true;
  EXPECT_EQ(Families(PlanGraph(scene, layout)), (List{{F::kMeasured, 0},
                                                      {F::kMeasured, 1},
                                                      {F::kComparison, 0},
                                                      {F::kRatio, 0},
                                                      {F::kRatio, 1},
                                                      {F::kReference, 0},
                                                      {F::kGain, 0},
                                                      {F::kGain, 1}}));
  scene.selectedOnly = true;
  scene.selectedSensor = 1;
  EXPECT_EQ(Families(PlanGraph(scene, layout)), (List{{F::kMeasured, 1},
                                                      {F::kComparison, 0},
                                                      {F::kRatio, 1},
                                                      {F::kReference, 0},
                                                      {F::kGain, 1}}));
  scene.selectedSensor = -1;  // nothing selected: only the comparison and the reference
  EXPECT_EQ(Families(PlanGraph(scene, layout)), (List{{F::kComparison, 0}, {F::kReference, 0}}));
  scene.colourDisplay = true;  // columns only
  EXPECT_TRUE(PlanGraph(scene, layout).curves.empty());
  EXPECT_TRUE(PlanGraph(scene, layout).columns.empty());
  scene.selectedOnly = false;
  const GraphPlan columns = PlanGraph(scene, layout);
  EXPECT_TRUE(columns.curves.empty());
  ASSERT_EQ(columns.columns.size(), 2u);
  EXPECT_EQ(columns.columns[1].heights[0], ValueHeight(2000.0, {}, columns.box.Height()));
}

TEST(GraphGeometryTest, NoSensorDrawsOnlyTheAxes) {
  const GraphPlan plan = PlanGraph(GraphScene{}, LayoutGraphFrame(kHc));
  EXPECT_TRUE(plan.curves.empty());
  EXPECT_TRUE(plan.columns.empty());
  EXPECT_EQ(plan.grid.size(), 10u);
  EXPECT_EQ(plan.ticks.ticks.size(), 9u);
}

TEST(GraphGeometryTest, CurvePointsAndGainOverlay) {
  GraphScene scene = TwoSensors();
  scene.maintenanceMode = true;
  const GraphPlan plan = PlanGraph(scene, LayoutGraphFrame(kHc));
  const AxisBox& box = plan.box;
  const int H = box.Height();
  const Curve& measured = plan.curves[0];
  ASSERT_EQ(measured.points.size(), 511u);
  EXPECT_EQ(measured.points[0], (Point{box.x0, box.yb - 1000 * H / 8192}));
  EXPECT_EQ(measured.points[510].x, box.x0 + 510);
  const Curve& gain = plan.curves.back();
  ASSERT_EQ(gain.family, F::kGain);
  EXPECT_EQ(gain.points,
            (std::vector<Point>{{box.x0 + 160, box.yb - H / 2}, {box.x0 + 260, box.yb}}));
  const Curve& reference = plan.curves[plan.curves.size() - 3];
  ASSERT_EQ(reference.family, F::kReference);
  EXPECT_EQ(reference.points[0].y, box.yb - static_cast<int>(54.63 * H / 100.0));
}

TEST(GraphGeometryTest, ShadesAndWavelengthColours) {
  const int greens[10] = {255, 205, 155, 105, 55, 5, 211, 161, 111, 61};
  const Rgb gains[10] = {{128, 0, 255}, {78, 0, 205}, {28, 0, 155}, {234, 0, 105}, {184, 0, 55},
                         {134, 0, 5},   {84, 0, 211}, {34, 0, 161}, {240, 0, 111}, {190, 0, 61}};
  for (int k = 0; k < 10; ++k) {
    const auto g = static_cast<std::uint8_t>(greens[k]);
    EXPECT_EQ(ShadeColour(F::kMeasured, k), (Rgb{0, g, 0}));
    EXPECT_EQ(ShadeColour(F::kComparison, k), (Rgb{g, 0, 0}));
    EXPECT_EQ(ShadeColour(F::kRatio, k), (Rgb{60, 60, g}));
    EXPECT_EQ(ShadeColour(F::kGain, k), gains[k]);
  }
  EXPECT_EQ(ShadeColour(F::kReference, 0), (Rgb{255, 128, 255}));
  const std::pair<int, Rgb> rows[] = {{3, {0, 0, 0}},    {4, {15, 0, 28}}, {26, {254, 79, 0}},
                                      {27, {255, 0, 0}}, {43, {9, 0, 2}},  {44, {0, 0, 0}}};
  for (auto [row, colour] : rows) EXPECT_EQ(WavelengthRowColour(row), colour) << row;
  EXPECT_EQ(SampleColour(49), WavelengthRowColour(4));
}

TEST(GraphGeometryTest, ColourBarCellsShareTheAxisColumns) {
  const FrameLayout layout = LayoutGraphFrame(kHc);
  const auto cells = ColourBarCells(layout);
  EXPECT_TRUE(SameRect(cells[0].rect, {44, kHc - 110, 54, kHc - 100}));
  EXPECT_TRUE(SameRect(cells[50].rect, {544, kHc - 110, 554, kHc - 100}));
}

TEST(GraphGeometryTest, LinesStopBeforeTheirEnd) {
  struct Case {
    Point a, b;
    std::vector<ui::Run> runs;
  };
  const Case cases[] = {
      {{0, 0}, {4, 0}, {{0, 0, 4, false}}},
      {{4, 0}, {0, 0}, {{1, 0, 4, false}}},
      {{0, 0}, {0, 0}, {}},
      {{0, 0}, {1, 4}, {{0, 0, 3, true}, {1, 3, 1, true}}},  // half goes to the lower x
      {{0, 10}, {1, 6}, {{0, 8, 3, true}, {1, 7, 1, true}}},
      {{0, 0}, {4, 2}, {{0, 0, 2, false}, {2, 1, 2, false}}},
  };
  for (const Case& c : cases) {
    std::vector<ui::Run> runs;
    AppendLineRuns(c.a, c.b, runs);
    EXPECT_EQ(runs, c.runs) << c.b.x << "," << c.b.y;
  }
}

TEST(GraphSummaryTest, StatusLines) {
  data::SpectrumStats stats{12.5f, 4000.0f, 351.0f, 600.0f, 2000.25f};
  EXPECT_EQ(StatisticsLine(stats, 25.3f),
            "average=2000.2 mininum =   12.5(351) maximum = 4000.0(600) Temp=25.3");
  EXPECT_EQ(ColourLine({0.33331f, 0.33329f, 0.3334f, 0.058985f, 0.058981f, 0.059002f}),
            "CIE X/Y/Z = 0.333 / 0.333 / 0.333    R/G/B = 0.059 / 0.059 / 0.059 ");
  EXPECT_EQ(ColourLine({NAN, NAN, NAN, NAN, NAN, NAN}),
            "CIE X/Y/Z = --- / --- / ---    R/G/B = --- / --- / --- ");
  GraphScene scene;
  SummaryMemory memory{};
  EXPECT_EQ(SensorSummaryLine(scene, 0, memory), "");
}

}  // namespace
}  // namespace chromiva::ui
