#include "chromiva/acquisition/dialogs/edit_number.h"

#include <gtest/gtest.h>

#include <cmath>

#include "test_port.h"

namespace chromiva::acquisition {
namespace {

TEST(EditNumberTest, ShowsTheValueInFiveColumns) {
  EXPECT_EQ(EditNumberText(160.0f), "  160");
  EXPECT_EQ(EditNumberText(8192.0f), " 8192");
  EXPECT_EQ(EditNumberText(-8192.0f), "-8192");
}

TEST(EditNumberTest, ReadsTheLeadingNumber) {
  const std::pair<const char*, float> cases[] = {
      {"12abc", 12.0f},  {"abc", 0.0f}, {"  -20000", -20000.0f},
      {"+3.75x", 3.75f}, {"", 0.0f},    {"1e3", 1000.0f},
      {".5", 0.5f},      {"-", 0.0f},   {"7e", 7.0f},
      {"inf", 0.0f},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(ReadEditNumber(text), value) << text;
  EXPECT_TRUE(std::isinf(ReadEditNumber("1e999")));
  EXPECT_EQ(ReadEditNumber("1e-999"), 0.0f);
}

// Plot area of the standard frame for a client height of 563.
constexpr FrameRect kPlot{5, 40, 595, 443};

TEST(EditNumberTest, CornerZonesIncludeTheirBounds) {
  const std::tuple<int, int, AxisCorner> cases[] = {
      {5, 40, AxisCorner::kGraphMax},    {55, 70, AxisCorner::kGraphMax},
      {56, 70, AxisCorner::kNone},       {55, 71, AxisCorner::kNone},
      {5, 413, AxisCorner::kGraphMin},   {55, 443, AxisCorner::kGraphMin},
      {5, 412, AxisCorner::kNone},       {545, 40, AxisCorner::kRatioMax},
      {595, 70, AxisCorner::kRatioMax},  {544, 40, AxisCorner::kNone},
      {545, 413, AxisCorner::kRatioMin}, {595, 443, AxisCorner::kRatioMin},
      {596, 443, AxisCorner::kNone},     {300, 200, AxisCorner::kNone},
  };
  for (const auto& [x, y, corner] : cases) {
    EXPECT_EQ(AxisCornerAt(kPlot, x, y), corner) << x << "," << y;
  }
}

struct LimitCase {
  int formX;
  int formY;
  const char* typed;
  AxisLimits expected;
  const char* label;
  const char* shown;
};

TEST(EditAxisLimitTest, StoresTheEntryRaisedToItsBound) {
  const LimitCase cases[] = {
      {10, 75, "300", {500, 0, 160, 0}, "最大値", " 8192"},
      {10, 470, "-20000", {8192, -8192, 160, 0}, "最小値", "    0"},
      {600, 75, "10", {8192, 0, 25, 0}, "最大値", "  160"},
      {600, 470, "-500", {8192, 0, 160, -100}, "最小値", "    0"},
      {10, 75, "9999.9", {9999, 0, 160, 0}, "最大値", " 8192"},
      {600, 470, "-7.9", {8192, 0, 160, -7}, "最小値", "    0"},
  };
  for (const LimitCase& c : cases) {
    testing::TestPort port;
    port.typedNumber = c.typed;
    AxisLimits limits;
    EXPECT_TRUE(EditAxisLimit(port, limits, kPlot, c.formX, c.formY)) << c.typed;
    EXPECT_EQ(limits.graphMax, c.expected.graphMax) << c.typed;
    EXPECT_EQ(limits.graphMin, c.expected.graphMin) << c.typed;
    EXPECT_EQ(limits.ratioMax, c.expected.ratioMax) << c.typed;
    EXPECT_EQ(limits.ratioMin, c.expected.ratioMin) << c.typed;
    ASSERT_EQ(port.numberPrompts.size(), 1u);
    EXPECT_EQ(port.numberPrompts[0].first, c.label);
    EXPECT_EQ(port.numberPrompts[0].second, c.shown);
    EXPECT_EQ(port.graphDraws, 1);
  }
}

TEST(EditAxisLimitTest, CancelOrAClickOutsideChangesNothing) {
  testing::TestPort port;
  AxisLimits limits;
  EXPECT_FALSE(EditAxisLimit(port, limits, kPlot, 10, 75));  // no typed number: cancel
  EXPECT_FALSE(EditAxisLimit(port, limits, kPlot, 300, 300));
  EXPECT_EQ(port.numberPrompts.size(), 1u);
  EXPECT_EQ(port.graphDraws, 0);
  EXPECT_EQ(limits.graphMax, 8192);
}

TEST(EditAxisLimitTest, AStoredCrossedPairDoesNotBlockTheOtherAxis) {
  testing::TestPort port;
  port.typedNumber = "4000";
  AxisLimits limits{8192, 0, 10, 50};
  EXPECT_TRUE(EditAxisLimit(port, limits, kPlot, 10, 75));
  EXPECT_EQ(limits.graphMax, 4000);
}

TEST(EditAxisLimitTest, RefusesAMaximumAtOrBelowItsMinimum) {
  const std::tuple<int, int, const char*, AxisLimits> cases[] = {
      {10, 470, "8192", {}},                 // graphMin up to graphMax
      {10, 75, "300", {8192, 600, 160, 0}},  // raised to 500, still below 600
      {600, 75, "30", {8192, 0, 160, 40}},
      {600, 470, "200", {}},
  };
  for (const auto& [x, y, typed, start] : cases) {
    testing::TestPort port;
    port.typedNumber = typed;
    AxisLimits limits = start;
    EXPECT_FALSE(EditAxisLimit(port, limits, kPlot, x, y)) << typed;
    EXPECT_EQ(limits.graphMax, start.graphMax);
    EXPECT_EQ(limits.graphMin, start.graphMin);
    EXPECT_EQ(limits.ratioMax, start.ratioMax);
    EXPECT_EQ(limits.ratioMin, start.ratioMin);
    EXPECT_EQ(port.okMessages, std::vector<std::string>{kCrossedLimitRefusal});
    EXPECT_EQ(port.graphDraws, 0);
  }
}

}  // namespace
}  // namespace chromiva::acquisition
