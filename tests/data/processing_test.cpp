#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>

#include "chromiva/data/processing.h"
#include "literal_resample.h"
#include "test_support.h"

namespace chromiva::data {
namespace {

using test::AddSensor;
using test::Load;
using test::NewDocument;

GridArray LiteralResample(std::span<const float> w, std::span<const float> v) {
  GridArray out{};
  test::LiteralResample(w, v, out);
  return out;
}

class Processing : public ::testing::Test {
 protected:
  void SetUp() override {
    doc_ = NewDocument();
    AddSensor(*doc_, "A");
    SensorEntry& s = doc_->Sensor(0);
    for (std::size_t p = 0; p < kMaxPixels; ++p) {
      s.darkTables[0][p] = 100.0f;
      s.darkTables[19][p] = p % 2 == 0 ? 1050.0f : 90.0f;            // odd pixels: no slope
      s.wavelengthTable[p] = 310.0f + 2.0f * static_cast<float>(p);  // 310 .. 884 nm
      s.sensitivityTable[p] = 2.0f;
      s.whiteTable[p] = 500.0f;
    }
    doc_->recordCount[0] = 1;
    RecordSpectra& spectra = doc_->EnsureSpectra(0, 0);
    spectra.rawSpectrum.fill(1100.0f);
    record().recordExposureUs = 9500000;
  }
  RecordSlot& record() { return doc_->Record(0, 0); }
  const PixelArray& processed() { return record().spectra->processedSpectrum; }
  SensorOutputs& outputs() { return state_.outputs[0]; }
  void Run() {
    ASSERT_TRUE(CorrectRecord(*doc_, state_, 0, 0));
    ASSERT_TRUE(ResampleRecord(*doc_, state_, 0, 0));
  }

  std::unique_ptr<Ctintrose_mfDoc> doc_;
  ProcessingState state_;
};

TEST_F(Processing, DarkFollowsExposureWithNonNegativeSlope) {
  Run();
  EXPECT_EQ(doc_->Sensor(0).darkTables[20][0], 1050.0f);
  EXPECT_EQ(processed()[0], 50.0f);
  EXPECT_EQ(processed()[1], 1000.0f);  // step 19 below step 0: slope 0
  record().recordExposureUs = 0;
  Run();
  EXPECT_EQ(processed()[0], 1000.0f);
  record().recordExposureUs = 4750000;
  Run();
  EXPECT_EQ(doc_->Sensor(0).darkTables[20][0], 575.0f);
}

TEST_F(Processing, SensitivityAppliesOnlyWhenSwitchedOn) {
  doc_->Sensor(0).sensitivityTable[1] = 0.0f;
  Run();
  EXPECT_EQ(processed()[1], 1000.0f);
  state_.settings.waveComp = true;
  Run();
  EXPECT_EQ(processed()[0], 100.0f);
  EXPECT_EQ(processed()[1], 0.0f);
}

TEST_F(Processing, RatioAgainstReferenceScaledByExposure) {
  SensorEntry& s = doc_->Sensor(0);
  s.whiteTable[288] = 19000000.0f;  // reference at twice the record's exposure: f = 2
  s.whiteTable[2] = 9.99f;
  s.whiteTable[4] = 10.0f;
  state_.settings.measureMode = kReflectance;
  Run();
  EXPECT_FLOAT_EQ(outputs().pixelRatio[0], 50.0f / 500.0f * 100.0f * 2.0f);
  EXPECT_EQ(outputs().pixelRatio[2], 0.0f);
  EXPECT_FLOAT_EQ(outputs().pixelRatio[4], 50.0f / 10.0f * 100.0f * 2.0f);
  EXPECT_NE(outputs().ratioSpectrum[100], 0.0f);
  s.transmissionTable.fill(1000.0f);
  s.transmissionTable[288] = 9500000.0f;
  state_.settings.measureMode = kTransmittance;
  Run();
  EXPECT_FLOAT_EQ(outputs().pixelRatio[0], 5.0f);
}

TEST_F(Processing, LightSourceModeZeroesRatioAndKeepsRatioSpectrum) {
  outputs().pixelRatio.fill(3.0f);
  outputs().ratioSpectrum.fill(7.0f);
  Run();
  EXPECT_EQ(outputs().pixelRatio[287], 0.0f);
  EXPECT_EQ(outputs().ratioSpectrum[0], 7.0f);
}

TEST_F(Processing, SkyBackgroundOnlyReachesTheDisplay) {
  doc_->Sensor(0).darkTables[19].fill(100.0f);  // no slope: every pixel reads 1000
  doc_->skyBgdTable[0].fill(30.0f);
  state_.settings.measureMode = kReflectance;
  state_.settings.skyBgdOn = true;
  Run();
  const GridArray ratioWithSky = outputs().ratioSpectrum;
  EXPECT_EQ(processed()[1], 1000.0f);
  EXPECT_EQ(outputs().displaySpectrum[1], 970.0f);
  state_.settings.skyBgdOn = false;
  Run();
  EXPECT_EQ(outputs().displaySpectrum[1], 1000.0f);
  EXPECT_EQ(outputs().ratioSpectrum, ratioWithSky);
}

TEST_F(Processing, FirstGridSampleInterpolatesAroundIt) {
  std::vector<float> values(kMaxPixels);
  for (std::size_t p = 0; p < kMaxPixels; ++p) values[p] = static_cast<float>(p);
  GridArray out{};
  ResampleToGrid(doc_->Sensor(0).wavelengthTable, values, nullptr, out);
  EXPECT_EQ(out[0], 15.0f);  // 340 nm is pixel 15 exactly
  EXPECT_EQ(out[1], 15.5f);  // 341 nm halfway between pixels 15 and 16
  EXPECT_EQ(out[510], 270.0f);
}

TEST(Resample, SamplesOutsideTheTableTakeTheNearestEndPixel) {
  const std::vector<float> w = {400.0f, 500.0f, 600.0f};
  const std::vector<float> v = {1.0f, 2.0f, 3.0f};
  GridArray out{};
  ResampleToGrid(w, v, nullptr, out);
  EXPECT_EQ(out[0], 1.0f);          // 340 nm, below the table
  EXPECT_EQ(out[400 - 340], 1.0f);  // equal to W[0]: no pair, strict lower comparison
  EXPECT_EQ(out[450 - 340], 1.5f);
  EXPECT_EQ(out[500 - 340], 2.0f);  // equal to W[1]: pixel 1 exactly
  EXPECT_EQ(out[601 - 340], 3.0f);
  EXPECT_EQ(out[510], 3.0f);
}

TEST(Resample, MatchesTheLiteralScanForAnyTable) {
  std::mt19937 random(4);
  std::uniform_real_distribution<float> anywhere(300.0f, 900.0f);
  std::uniform_real_distribution<float> step(-1.0f, 4.0f);
  std::uniform_real_distribution<float> value(-500.0f, 5000.0f);
  for (int trial = 0; trial < 300; ++trial) {
    const std::size_t n = static_cast<std::size_t>(trial % 290);
    std::vector<float> w(n);
    std::vector<float> v(n);
    float at = anywhere(random) - 200.0f;
    for (std::size_t p = 0; p < n; ++p) {
      if (trial % 3 == 0) at = anywhere(random);
      if (trial % 3 == 1) at += std::fabs(step(random)) + 0.01f;  // sorted tables
      if (trial % 3 == 2) at += step(random);
      if (trial % 7 == 0) at = std::round(at);  // duplicates and exact grid hits
      w[p] = at;
      v[p] = value(random);
    }
    if (trial % 11 == 0 && n > 3) w[n / 2] = std::nanf("");
    GridArray fast{};
    ResampleToGrid(w, v, nullptr, fast);
    const GridArray literal = LiteralResample(w, v);
    for (std::size_t i = 0; i < fast.size(); ++i) {
      ASSERT_EQ(std::bit_cast<uint32_t>(fast[i]), std::bit_cast<uint32_t>(literal[i]))
          << "trial " << trial << " sample " << i;
    }
  }
}

// Resampling keeps the brackets of a sensor's wavelength table between records; a changed
// table or pixel count must give what a fresh state gives.
TEST_F(Processing, ChangedWavelengthTableIsSearchedAgain) {
  for (std::size_t p = 0; p < kMaxPixels; ++p) record().spectra->rawSpectrum[p] = 900.0f + p;
  Run();
  SensorEntry& s = doc_->Sensor(0);
  std::swap(s.wavelengthTable[100], s.wavelengthTable[101]);  // no longer increasing
  for (int change = 0; change < 2; ++change) {
    Run();
    ProcessingState fresh = state_;
    fresh.brackets = {};
    ASSERT_TRUE(ResampleRecord(*doc_, fresh, 0, 0));
    for (std::size_t i = 0; i < kGridSamples; ++i) {
      ASSERT_EQ(std::bit_cast<uint32_t>(outputs().displaySpectrum[i]),
                std::bit_cast<uint32_t>(fresh.outputs[0].displaySpectrum[i]))
          << "change " << change << " sample " << i;
    }
    s.pixelCount = 150;  // same table values, fewer pixels
  }
}

TEST_F(Processing, DarkModelFollowsTheDocumentsOwnDarkSteps) {
  Run();
  EXPECT_EQ(processed()[0], 50.0f);
  auto other = NewDocument();
  AddSensor(*other, "B");
  other->Sensor(0).darkTables[0].fill(0.0f);
  other->Sensor(0).darkTables[19].fill(0.0f);
  test::AddRecords(*other, 0, 1);
  other->Record(0, 0).spectra->rawSpectrum.fill(1100.0f);
  ASSERT_TRUE(Load(*doc_, test::Store(*other)).ok());
  EXPECT_TRUE(CorrectRecord(*doc_, state_, 0, 0));
  EXPECT_EQ(processed()[0], 1100.0f);
  EXPECT_EQ(state_.dark[0].darkSlope[0], 0.0f);
}

TEST_F(Processing, RecordsWithoutArraysAreNotProcessed) {
  EXPECT_FALSE(CorrectRecord(*doc_, state_, 0, 1));
  EXPECT_FALSE(ResampleRecord(*doc_, state_, 0, 1));
  EXPECT_FALSE(CorrectRecord(*doc_, state_, 0, kRecordSlots));
  EXPECT_FALSE(CorrectRecord(*doc_, state_, -1, 0));
}

}  // namespace
}  // namespace chromiva::data
