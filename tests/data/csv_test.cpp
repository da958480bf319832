#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>

#include <unistd.h>

#include "../scoped_env.h"
#include "chromiva/data/csv.h"
#include "csv_number.h"
#include "test_support.h"

namespace chromiva::data {
namespace {

using test::AddSensor;
using test::NewDocument;

std::string Printf(const char* format, double value) {
  char text[512];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Fixed(double value, int width, int precision) {
  std::string out;
  detail::AppendFixed(out, value, width, precision);
  return out;
}

TEST(CsvNumbers, FixedCellsMatchPrintfExactly) {
  std::mt19937 random(7);
  std::uniform_int_distribution<uint32_t> bits;
  std::vector<double> values = {0.0,
                                -0.0,
                                0.05,
                                0.15,
                                0.25,
                                -0.04,
                                2.5,
                                3.5,
                                1e15,
                                -1e20,
                                9.95,
                                99999.95,
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity(),
                                std::nan(""),
                                -std::nan(""),
                                1e-300,
                                123456789.123456789,
                                0.1 + 0.2};
  for (int i = 0; i < 20000; ++i) {
    const float f = std::bit_cast<float>(bits(random));
    values.push_back(f);
    values.push_back(std::ldexp(static_cast<double>(bits(random)), -(i % 40)));
  }
  for (double v : values) {
    ASSERT_EQ(Fixed(v, 6, 1), Printf("%6.1f", v)) << v;
    ASSERT_EQ(Fixed(v, 4, 1), Printf("%4.1f", v)) << v;
    ASSERT_EQ(Fixed(v, 6, 0), Printf("%6.0f", v)) << v;
  }
}

TEST(CsvNumbers, IntegerCellsMatchPrintf) {
  for (int64_t v : {0, 7, -7, 59, 123456, -123456, 2147483647}) {
    std::string plain, zero;
    detail::AppendInteger(plain, v, 6);
    detail::AppendInteger(zero, v, 2, true);
    char a[32], b[32];
    std::snprintf(a, sizeof a, "%6lld", static_cast<long long>(v));
    std::snprintf(b, sizeof b, "%02lld", static_cast<long long>(v));
    EXPECT_EQ(plain, a);
    EXPECT_EQ(zero, b);
  }
}

void ExpectStart(const std::string& text, const std::string& start) {
  EXPECT_EQ(text.substr(0, start.size()), start);
}

constexpr std::time_t k140322 = 1557464602;  // 2019/05/10 14:03:22 in JST-9

class CsvExport : public ::testing::Test {
 protected:
  chromiva::test::ScopedEnv tz_{"TZ", "JST-9"};

  void SetUp() override {
    doc_ = NewDocument();
    AddSensor(*doc_, "A");
    SensorEntry& s = doc_->Sensor(0);
    for (PixelArray& step : s.darkTables) step.fill(0.0f);
    for (std::size_t p = 0; p < kMaxPixels; ++p) {
      s.wavelengthTable[p] = 310.0f + 2.0f * static_cast<float>(p);
    }
    AddRecord(12.5f, 25.3f, k140322);
    AddRecord(-3.25f, 25.4f, k140322 + 3);
    settings_.csvStartNm = 400;
    settings_.csvEndNm = 420;
  }
  void AddRecord(float value, float temperature, std::time_t time) {
    const int r = doc_->recordCount[0]++;
    doc_->EnsureSpectra(0, r).rawSpectrum.fill(value);
    doc_->Record(0, r).recordExposureUs = 100999;
    doc_->Record(0, r).recordTemperature = temperature;
    doc_->RecordTime(r) = time;
  }
  std::string Export(CsvRange range = {0, 2}) {
    std::ostringstream out;
    result_ = WriteCsv(*doc_, state_, settings_, 0, range, out);
    return out.str();
  }

  std::unique_ptr<Ctintrose_mfDoc> doc_;
  ProcessingState state_;
  CsvSettings settings_;
  CsvResult result_;
};

TEST_F(CsvExport, VerticalLayoutWithAllOptions) {
  EXPECT_EQ(Export(),
            "date,2019/05/10\r\n"
            "time,14:03:22,14:03:25,\r\n"
            "temp,25.3,25.4,\r\n"
            "exposure,   100,   100,\r\n"
            "400,  12.5,  -3.2,\r\n"
            "410,  12.5,  -3.2,\r\n"
            "420,  12.5,  -3.2,\r\n");
  EXPECT_TRUE(result_.written);
}

TEST_F(CsvExport, VerticalLayoutWithoutLabels) {
  settings_.csvAddWave = false;
  settings_.csvStartNm = settings_.csvEndNm = 500;
  EXPECT_EQ(Export(),
            "date,2019/05/10\r\ntime,14:03:22,14:03:25,\r\n25.3,25.4,\r\n   100,   100,\r\n"
            "  12.5,  -3.2,\r\n");
}

TEST_F(CsvExport, RowLayout) {
  settings_.csvVertical = false;
  EXPECT_EQ(Export(),
            "temp,exposure,   400,   410,   420,\r\n"
            "25.3,   100,  12.5,  12.5,  12.5,\r\n"
            "25.4,   100,  -3.2,  -3.2,  -3.2,\r\n");
  settings_.csvAddWave = false;
  settings_.csvAddTemp = false;
  EXPECT_EQ(Export({1, 2}), "   100,  -3.2,  -3.2,  -3.2,\r\n");
}

TEST_F(CsvExport, WhiteReferenceTable) {
  doc_->Sensor(0).whiteTable[0] = 1234.56f;
  doc_->Sensor(0).whiteTable[288] = 100000.0f;
  settings_.csvTarget = kCsvWhiteReference;
  const std::string vertical = Export();
  ExpectStart(vertical,
              "date,2019/05/10\r\ntime,14:03:22,14:03:25,\r\ntemp,,\r\nexposure,100000,\r\n"
              " 310.0,1234.6,\r\n");
  EXPECT_EQ(std::count(vertical.begin(), vertical.end(), '\n'), 4 + 288);
  settings_.csvVertical = false;
  const std::string rows = Export({0, 0});
  EXPECT_EQ(std::count(rows.begin(), rows.end(), '\n'), 2);
  EXPECT_EQ(rows.substr(rows.find('\n') + 1, 22), ",100000,1234.6,1001.0,");
}

TEST_F(CsvExport, RatioTargetInLightSourceModeWritesTheLastRatios) {
  state_.outputs[0].ratioSpectrum.fill(42.0f);
  settings_.csvTarget = kCsvRatio;
  settings_.csvAddTemp = settings_.csvAddExp = false;
  const std::string text = Export({0, 1});
  EXPECT_EQ(text.substr(text.find("400")), "400,  42.0,\r\n410,  42.0,\r\n420,  42.0,\r\n");
}

TEST_F(CsvExport, GridIsClampedAndStepped) {
  settings_.csvVertical = false;
  settings_.csvAddTemp = settings_.csvAddExp = false;
  settings_.csvStartNm = 200;
  settings_.csvEndNm = 900;
  settings_.csvStepNm = 7;
  const std::string header = Export().substr(0, Export().find('\r'));
  EXPECT_EQ(header.substr(0, 14), "   340,   347,");
  EXPECT_EQ(header.substr(header.size() - 7), "   844,");
  EXPECT_EQ(std::count(header.begin(), header.end(), ','), 73);
}

TEST_F(CsvExport, RefusalsWriteNothing) {
  settings_.csvStepNm = 0;
  EXPECT_EQ(Export(), "");
  EXPECT_EQ(result_.error, CsvError::kBadStep);
  settings_.csvStepNm = 10;
  EXPECT_EQ(Export({0, 3}), "");
  EXPECT_EQ(result_.error, CsvError::kMissingRecord);
  EXPECT_EQ(Export({2, 1}), "");
  EXPECT_EQ(result_.error, CsvError::kBadRange);
  std::ostringstream out;
  EXPECT_EQ(WriteCsv(*doc_, state_, settings_, 1, {0, 1}, out).error, CsvError::kBadSensor);
}

TEST_F(CsvExport, HoursCountOnPastMidnight) {
  AddRecord(1.0f, 20.0f, k140322 + 10 * 3600 + 60);  // 00:04:22 next day
  settings_.csvAddTemp = settings_.csvAddExp = false;
  const std::string text = Export({1, 3});
  ExpectStart(text, "date,2019/05/10\r\ntime,14:03:25,00:04:22,\r\n");
}

TEST_F(CsvExport, AutomaticSaveNamesAndStampsTheRecord) {
  const auto dir =
      std::filesystem::temp_directory_path() / ("chromiva_csv_auto_" + std::to_string(getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  settings_.csvFolder = dir.string();
  settings_.csvAutoMode = kCsvNumberName;
  doc_->EnsureSpectra(0, 2).rawSpectrum.fill(5.0f);
  const CsvResult result = AutoSaveCsv(*doc_, state_, settings_, 2, k140322 + 100);
  ASSERT_TRUE(result.ok()) << result.message;
  EXPECT_EQ(result.path, dir / "No2.csv");
  EXPECT_EQ(doc_->RecordTime(2), k140322 + 100);
  std::ifstream written(dir / "No2.csv", std::ios::binary);
  std::string first;
  std::getline(written, first);
  EXPECT_EQ(first, "date,2019/05/10\r");
  std::filesystem::remove_all(dir);

  EXPECT_EQ(AutoSaveCsvName(settings_, 0, k140322), "No0.csv");
  settings_.csvAutoMode = kCsvTimeName;
  EXPECT_EQ(AutoSaveCsvName(settings_, 0, k140322), "20190510_140322.csv");
  settings_.csvAutoMode = kCsvFixedName;
  EXPECT_EQ(AutoSaveCsvName(settings_, 0, k140322), "output");
  settings_.csvAutoMode = 3;
  EXPECT_FALSE(AutoSaveCsv(*doc_, state_, settings_, 0, k140322).written);
}

TEST(CsvDialogHelpers, NumbersAndNames) {
  EXPECT_EQ(WithCsvSuffix("data"), "data.csv");
  EXPECT_EQ(WithCsvSuffix("DATA.CSV"), "DATA.CSV");
  EXPECT_EQ(WithCsvSuffix("csv"), "csv.csv");
  EXPECT_EQ(ParseDialogInteger(" 42 "), 42);
  EXPECT_EQ(ParseDialogInteger("4x"), 0);
  EXPECT_EQ(ParseDialogInteger("99999999999"), 0);
}

}  // namespace
}  // namespace chromiva::data
