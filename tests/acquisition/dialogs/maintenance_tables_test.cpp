// Table work of the maintenance dialog: the list's lines, the reference curves, resetting, the
// calibration list lines and the sensitivity computed from a frame.
#include <gtest/gtest.h>

#include <algorithm>

#include "chromiva/acquisition/dialogs/calibration_list.h"
#include "chromiva/acquisition/dialogs/maintenance_ids.h"
#include "chromiva/acquisition/dialogs/maintenance_tables.h"

namespace chromiva::acquisition::dialogs {
namespace {

data::SensorEntry SmallSensor() {
  data::SensorEntry sensor;
  sensor.pixelCount = data::kMaxPixels;
  sensor.exposureUs = 50000;
  for (int p = 0; p < data::kMaxPixels; ++p) sensor.wavelengthTable[p] = 340.0F + 1.75F * p;
  sensor.wavelengthTable[0] = 340.5F;
  sensor.sensitivityTable.fill(1.0F);
  sensor.whiteTable.fill(12.5F);
  sensor.transmissionTable.fill(100.0F);
  sensor.darkTables[20].fill(7.0F);
  sensor.sensitivityTable[288] = 2.0F;
  sensor.whiteTable[288] = 30.0F;
  sensor.transmissionTable[288] = 50000.0F;
  return sensor;
}

TEST(MaintenanceTables, TableListLinesAndTheLastLine) {
  const data::SensorEntry sensor = SmallSensor();
  std::string darks;
  for (int step = 0; step < 20; ++step) darks += "   0.0 ";
  darks += "   7.0 ";
  const std::vector<std::string> lines = TableListLines(sensor);
  ASSERT_EQ(lines.size(), 289u);
  EXPECT_EQ(lines[0], "  1: 340.5   1.0  12.5  100.0 " + darks);
  EXPECT_EQ(lines[287].substr(0, 5), "288: ");
  EXPECT_EQ(lines[288], "289:   0.0   2.0  30.0 50000.0 ");
}

TEST(MaintenanceTables, InitialiseLeavesTheValuesAfterThePixels) {
  data::SensorEntry sensor = SmallSensor();
  InitialiseTables(sensor, 8192);
  std::string zeros;
  for (int step = 0; step < 21; ++step) zeros += "   0.0 ";
  EXPECT_EQ(TableListLine(sensor, 5), "  6: 348.8   1.0 8192.0 8192.0 " + zeros);
  EXPECT_EQ(TableListLine(sensor, 288), "289:   0.0   2.0  30.0 50000.0 ");
}

TEST(MaintenanceTables, ReferenceCurvesInterpolateAndScale) {
  data::SensorEntry sensor = SmallSensor();
  sensor.wavelengthTable[0] = 500.0F;
  sensor.wavelengthTable[1] = 500.5F;
  sensor.wavelengthTable[2] = 901.0F;
  const ReferenceCurves curves = ComputeReferenceCurves(sensor, 8192);
  const auto& response = data::referenceResponseTable;
  EXPECT_FLOAT_EQ(curves.response[0], static_cast<float>(response[200].value));
  EXPECT_FLOAT_EQ(curves.response[1],
                  static_cast<float>((response[200].value + response[201].value) / 2));
  EXPECT_EQ(curves.response[2], 0.0F);
  EXPECT_EQ(*std::max_element(curves.gainTarget.begin(), curves.gainTarget.end()), 8192.0F);
}

TEST(CalibrationList, KindsQuotesAndNumbers) {
  auto row = ParseCalibrationLine("\"C12880MA\",\"AB12345\",300,1.5e-1,x,,-2\r");
  ASSERT_TRUE(row);
  EXPECT_EQ(row->serial, "AB12345");
  EXPECT_EQ(row->coefficients, (std::array<double, 6>{300.0, 0.15, 0.0, 0.0, -2.0, 0.0}));
  EXPECT_FALSE(ParseCalibrationLine("C11708MA,XY000001,1,2,3,4,5,6"));
  EXPECT_FALSE(ParseCalibrationLine(""));
}

class Sensitivity : public ::testing::Test {
 protected:
  void SetUp() override {
    sensor = SmallSensor();
    curves.gainTarget.fill(1.0F);
    curves.response.fill(1.0F);
    for (int j = 0; j < data::kMaxPixels; ++j) frame[j] = 1000.0F - 2.0F * std::abs(j - 150);
  }
  data::SensorEntry sensor;
  ReferenceCurves curves;
  data::PixelArray frame{};
};

TEST_F(Sensitivity, APeakAtOnePixelGivesOneThereAndMoreElsewhere) {
  const GainResult gain = ComputeSensitivity(sensor, frame, curves);
  ASSERT_TRUE(gain.ok);
  EXPECT_EQ(gain.sensitivity[150], 1.0F);
  for (int j = 0; j < data::kMaxPixels; ++j) {
    if (j != 150) {
      EXPECT_GT(gain.sensitivity[j], 1.0F) << j;
    }
  }
  EXPECT_EQ(gain.sensitivity[288], 50000.0F);
  // Below 400 nm (pixels 0 .. 34) the value of the first pixel above it.
  EXPECT_EQ(gain.sensitivity[0], gain.sensitivity[35]);
}

TEST_F(Sensitivity, UndefinedCasesAreRefused) {
  data::SensorEntry shortWave = sensor;
  shortWave.wavelengthTable.fill(399.0F);
  EXPECT_EQ(ComputeSensitivity(shortWave, frame, curves).refusal,
            maintenance_ids::kNoPixelAbove400);
  data::PixelArray dark{};
  EXPECT_EQ(ComputeSensitivity(sensor, dark, curves).refusal, maintenance_ids::kGainZero);
  frame[60] = 0.0F;
  frame[61] = 0.0F;
  frame[62] = 0.0F;
  frame[63] = 0.0F;
  frame[64] = 0.0F;
  EXPECT_EQ(ComputeSensitivity(sensor, frame, curves).refusal, maintenance_ids::kGainZero);
  SetUp();
  curves.gainTarget[100] = 0.0F;
  EXPECT_FALSE(ComputeSensitivity(sensor, frame, curves).ok);
}

}  // namespace
}  // namespace chromiva::acquisition::dialogs
