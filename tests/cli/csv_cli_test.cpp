// chromiva-cli's CSV with record times, the format choice, the status line and --quiet.
#include <gtest/gtest.h>

#include <ctime>

#include "cli_fixture.h"
#include "progress_line.h"

namespace {

using chromiva::cli::testing::ReadFile;
using Cli = chromiva::cli::testing::CliTest;

std::string WithoutFirstLines(const std::string& text, int lines) {
  std::size_t at = 0;
  for (int i = 0; i < lines; ++i) at = text.find('\n', at) + 1;
  return text.substr(at);
}

TEST_F(Cli, MeasureCsvIsTheExportWithRecordTimes) {
  auto measured = Run("measure --count 3 -o run.cvdata --csv run.csv --step 50");
  ASSERT_EQ(measured.status, 0) << measured.err;
  auto exported = Run("export run.cvdata -o saved.csv --step 50");
  ASSERT_EQ(exported.status, 0) << exported.err;
  EXPECT_NE(exported.err.find("carry no record times"), std::string::npos);
  const std::string run = ReadFile(folder / "run.csv"), saved = ReadFile(folder / "saved.csv");
  EXPECT_EQ(WithoutFirstLines(run, 2), WithoutFirstLines(saved, 2));
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char today[32];
  std::strftime(today, sizeof today, "date,%Y/%m/%d\r\n", &local);
  EXPECT_EQ(run.rfind(today, 0), 0u) << run.substr(0, 40);
  EXPECT_EQ(run.find("00:00:00"), std::string::npos);
}

TEST_F(Cli, CsvFormatOptionsAreRefusedWhereTheyDoNotApply) {
  ASSERT_EQ(Run("measure --count 1 -o run.cvdata").status, 0);
  const char* refused[] = {
      "export run.cvdata -o out.csv --format csv",
      "export run.cvdata -o out.csv --format tidy --target 2",
      "export run.cvdata -o out.csv --format tidy --layout rows",
      "measure --count 1 --format tidy",
      "measure --count 1 --csv out.csv --csv-sensor 1",
  };
  for (const char* arguments : refused) {
    auto result = Run(arguments);
    EXPECT_EQ(result.status, 2) << arguments;
    EXPECT_FALSE(std::filesystem::exists(folder / "out.csv")) << arguments;
  }
}

TEST_F(Cli, StatusLineIsPlainAndQuietHidesGuidance) {
  auto loud = Run("dark --yes", "spectrometer:light=off");
  auto quiet = Run("dark --yes --quiet", "spectrometer:light=off");
  ASSERT_EQ(loud.status, 0) << loud.err;
  ASSERT_EQ(quiet.status, 0) << quiet.err;
  EXPECT_NE(loud.err.find("空の１０秒計測を実施します"), std::string::npos);
  EXPECT_EQ(quiet.err.find("空の１０秒計測を実施します"), std::string::npos);
  EXPECT_NE(quiet.err.find("-> OK (--yes)"), std::string::npos);  // the question stays
  auto measured = Run("measure --count 5 -o run.cvdata");
  for (const auto& err : {loud.err, measured.err}) {
    EXPECT_EQ(err.find_first_of("\r\033"), std::string::npos) << err;
  }
}

TEST(ProgressLine, ThrottlesTerminalAndLogLines) {
  using chromiva::cli::ProgressThrottle;
  using std::chrono::milliseconds;
  const auto start = ProgressThrottle::Clock::time_point{};
  ProgressThrottle terminal(true, start), log(false, start);
  int drawn = 0, logged = 0;
  for (int ms = 0; ms <= 120000; ms += 5) {
    drawn += terminal.Take(start + milliseconds(ms));
    logged += log.Take(start + milliseconds(ms));
  }
  EXPECT_EQ(drawn, 1201);  // ten a second
  EXPECT_EQ(logged, 2);    // one a minute
}

TEST(ProgressLine, SaysElapsedRateAndEnd) {
  EXPECT_EQ(chromiva::cli::FormatElapsed(0), "0:00:00");
  EXPECT_EQ(chromiva::cli::FormatElapsed(86399), "23:59:59");
  EXPECT_EQ(chromiva::cli::FormatElapsed(90061), "25:01:01");
  std::tm noon{};
  noon.tm_year = 126, noon.tm_mon = 11, noon.tm_mday = 7, noon.tm_hour = 12, noon.tm_isdst = -1;
  const std::time_t now = std::mktime(&noon);
  EXPECT_EQ(chromiva::cli::RecordingProgress(0, 10, 0, now),
            "recorded 0 / 10 pass(es), 0:00:00 elapsed");
  EXPECT_EQ(chromiva::cli::RecordingProgress(30, 90, 60, now),
            "recorded 30 / 90 pass(es), 0:01:00 elapsed, 0.50 pass/s, ends about 12:02:00");
  EXPECT_EQ(chromiva::cli::RecordingProgress(1, 0, 120, now),
            "recorded 1 pass(es), 0:02:00 elapsed, 0.50 pass/min");
  EXPECT_EQ(chromiva::cli::RecordingProgress(1, 3, 43200, now),
            "recorded 1 / 3 pass(es), 12:00:00 elapsed, 0.08 pass/h, ends about 2026-12-08 "
            "12:00:00");
}

}  // namespace
