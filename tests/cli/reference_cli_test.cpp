// chromiva-cli dark and reference on simulated instruments whose tables persist between runs.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "chromiva/data/data_file.h"
#include "cli_fixture.h"

namespace {

using chromiva::cli::testing::CliTest;
using chromiva::cli::testing::Outcome;
using chromiva::cli::testing::ReadFile;
namespace fs = std::filesystem;

class ReferenceCli : public CliTest {
 protected:
  std::string ExtraEnvironment() const override { return "WRENLINK_SIM_STATE=state "; }
  void SetUp() override {
    CliTest::SetUp();
    fs::create_directories(folder / "state");
  }
};

// The reflectance column of the first record at 600 nm of a vertical CSV export.
double ReflectanceAt600(const std::string& csv) {
  std::istringstream lines(csv);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("600,", 0) == 0) return std::stod(line.substr(4));
  }
  return -1.0;
}

TEST_F(ReferenceCli, DarkAndWhiteWrittenInOneRunAreReadByTheNext) {
  auto dark = Run("dark --write --yes", "spectrometer:light=off");
  ASSERT_EQ(dark.status, 0) << dark.err;
  EXPECT_NE(dark.err.find("ダークの１０秒計測を終了しました"), std::string::npos);
  EXPECT_NE(dark.err.find("ダーク登録中"), std::string::npos);
  EXPECT_NE(dark.out.find("written to the instrument"), std::string::npos);

  auto white = Run("reference white --exposure 20 --yes");
  ASSERT_EQ(white.status, 0) << white.err;
  EXPECT_NE(white.out.find("white reference registered at 20000 us"), std::string::npos);

  ASSERT_EQ(Run("measure --mode 1 --count 2 -o r.cvdata").status, 0);
  auto exported = Run("export r.cvdata --target 1 --mode 1 -o r.csv");
  ASSERT_EQ(exported.status, 0) << exported.err;
  EXPECT_NEAR(ReflectanceAt600(ReadFile(folder / "r.csv")), 100.0, 3.0);

  chromiva::data::Ctintrose_mfDoc document;
  ASSERT_TRUE(chromiva::data::OpenDataFile(document, folder / "r.cvdata").ok());
  const auto& sensor = document.Sensor(0);
  EXPECT_EQ(sensor.whiteTable[288], 20000.0F);
  // A measured step 19 is one frame of whole counts; the factory table is not.
  for (int p = 0; p < 288; ++p) {
    ASSERT_EQ(sensor.darkTables[19][p], std::round(sensor.darkTables[19][p])) << p;
  }
}

TEST_F(ReferenceCli, WithoutTheAnswersNothingIsRegistered) {
  auto dark = Run("dark", "spectrometer:light=off");
  EXPECT_EQ(dark.status, 2);
  EXPECT_EQ(dark.err.find("空の１０秒計測"), std::string::npos);

  auto kept = Run("dark --yes", "spectrometer:light=off");
  ASSERT_EQ(kept.status, 0) << kept.err;
  EXPECT_NE(kept.out.find("not written"), std::string::npos);
  EXPECT_EQ(kept.err.find("ダーク登録中"), std::string::npos);

  auto white = Run("reference white");
  EXPECT_EQ(white.status, 2);
  EXPECT_NE(white.err.find("white reference was not registered"), std::string::npos);
  EXPECT_EQ(Run("reference grey --yes").status, 2);
  EXPECT_EQ(Run("reference transmission --yes", "").status, 1);
}

TEST_F(ReferenceCli, TransmissionTakesTheGivenExposure) {
  auto result = Run("reference transmission --exposure 20 --average 2 --yes");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("transmission reference registered at 20000 us"), std::string::npos);
}

}  // namespace
