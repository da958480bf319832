#include <gtest/gtest.h>

#include <cmath>

#include "chromiva/data/colour.h"
#include "chromiva/data/tables.h"

namespace chromiva::data {
namespace {

GridArray Flat(float value) {
  GridArray s;
  s.fill(value);
  return s;
}

TEST(Colour, FlatSpectrumGivesTheObserverColumnSums) {
  const Tristimulus t = ComputeTristimulus(Flat(1.0f));
  EXPECT_NEAR(t.x, 21.3731, 5e-5);
  EXPECT_NEAR(t.y, 21.3714, 5e-5);
  EXPECT_NEAR(t.z, 21.3787, 5e-5);
  const ColourValues c = ComputeColourValues(Flat(1.0f));
  EXPECT_NEAR(c.x, 0.33331, 5e-6);
  EXPECT_NEAR(c.y, 0.33329, 5e-6);
  EXPECT_NEAR(c.z, 0.33340, 5e-6);
  EXPECT_NEAR(c.r, 0.058985, 5e-7);
  EXPECT_NEAR(c.g, 0.058981, 5e-7);
  EXPECT_NEAR(c.b, 0.059002, 5e-7);
}

TEST(Colour, OnlyEveryFifthSampleFrom360To830NmCounts) {
  GridArray s = Flat(0.0f);
  for (int i = 0; i < 20; ++i) s[static_cast<std::size_t>(i)] = 100.0f;
  for (int i = 491; i < 511; ++i) s[static_cast<std::size_t>(i)] = 100.0f;
  for (int i = 21; i < 490; ++i) {
    if (i % 5 != 0) s[static_cast<std::size_t>(i)] = 100.0f;
  }
  const ColourValues c = ComputeColourValues(s);
  EXPECT_TRUE(std::isnan(c.x) && std::isnan(c.y) && std::isnan(c.z));
  EXPECT_TRUE(std::isnan(c.r) && std::isnan(c.g) && std::isnan(c.b));
  s[20] = 1.0f;  // 360 nm
  EXPECT_FALSE(std::isnan(ComputeColourValues(s).x));
}

TEST(Statistics, TiesGoToTheShorterWavelength) {
  GridArray s = Flat(100.0f);
  s[450 - 340] = 1200.0f;
  s[600 - 340] = 1200.0f;
  s[700 - 340] = 5.0f;
  s[710 - 340] = 5.0f;
  SpectrumStats stats;
  ComputeSpectrumStatistics(s, 8192, stats);
  EXPECT_EQ(stats.maximum, 1200.0f);
  EXPECT_EQ(stats.maximumNm, 450.0f);
  EXPECT_EQ(stats.minimum, 5.0f);
  EXPECT_EQ(stats.minimumNm, 700.0f);
  EXPECT_FLOAT_EQ(stats.average, (100.0f * 507 + 2400.0f + 10.0f) / 511.0f);
}

TEST(Statistics, LimitsKeepTheirStartValuesAndOldWavelengths) {
  SpectrumStats stats;
  stats.minimumNm = 123.0f;
  stats.maximumNm = 456.0f;
  ComputeSpectrumStatistics(Flat(9000.0f), 8192, stats);
  EXPECT_EQ(stats.minimum, 8192.0f);
  EXPECT_EQ(stats.minimumNm, 123.0f);
  ComputeSpectrumStatistics(Flat(-1.0f), 8192, stats);
  EXPECT_EQ(stats.maximum, 0.0f);
  EXPECT_EQ(stats.maximumNm, 340.0f);  // from the computation before
  EXPECT_EQ(stats.average, -1.0f);
}

double FineValue(const std::array<TableRow, kFineTableRows>& table, int nm) {
  const TableRow& row = table[static_cast<std::size_t>(nm - 300)];
  EXPECT_EQ(row.wavelength, nm);
  return row.value;
}

TEST(Tables, ObserverAndColourRows) {
  EXPECT_EQ(cieObserverTable[39].wavelength, 555.0f);
  EXPECT_EQ(cieObserverTable[39].xBar, 0.5120501f);
  EXPECT_EQ(cieObserverTable[39].zBar, 0.005749999f);
  EXPECT_EQ(cieObserverTable[94].wavelength, 830.0f);
  EXPECT_EQ(wavelengthColourTable[(560 - 340) / 10].red, 0.47369);
  EXPECT_EQ(wavelengthColourTable[(370 - 340) / 10].blue, 0.0);
  EXPECT_EQ(wavelengthColourTable[71].wavelength, 1050.0);
}

TEST(Tables, ReferenceResponsePassesThroughItsRowsWithItsMaximumAt494) {
  const std::pair<int, double> rows[] = {{300, 54.63}, {340, 54.63}, {400, 95.31}, {494, 99.41},
                                         {500, 98.53}, {555, 77.19}, {600, 77.52}, {700, 48.14},
                                         {800, 19.42}, {850, 9.5},   {900, 9.5}};
  for (const auto& [nm, value] : rows) EXPECT_EQ(FineValue(referenceResponseTable, nm), value);
  for (int nm = 300; nm <= 900; ++nm) {
    if (nm != 494) {
      EXPECT_LT(FineValue(referenceResponseTable, nm), 99.41) << nm;
    }
  }
}

TEST(Tables, CalibrationLightIsIrregularBelow400AndRisesAbove) {
  const std::pair<int, double> rows[] = {{300, 5.7e-05},     {350, 5.7e-05},     {354, 4.64e-05},
                                         {360, 7.55e-05},    {400, 0.000186088}, {500, 0.000959991},
                                         {600, 0.002338452}, {700, 0.003853217}, {800, 0.005168002},
                                         {900, 0.006024358}};
  for (const auto& [nm, value] : rows) EXPECT_EQ(FineValue(calibrationLightTable, nm), value);
  int falls = 0;
  for (int nm = 301; nm <= 900; ++nm) {
    const double step =
        FineValue(calibrationLightTable, nm) - FineValue(calibrationLightTable, nm - 1);
    if (nm > 400) {
      EXPECT_GT(step, 0.0) << nm;
    }
    if (nm > 355 && nm < 400 && step < 0) ++falls;
    if (nm != 354) {
      EXPECT_GT(FineValue(calibrationLightTable, nm), 4.64e-05);
    }
  }
  EXPECT_GT(falls, 5);
}

}  // namespace
}  // namespace chromiva::data
