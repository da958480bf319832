// chromiva-cli end to end on simulated instruments: exit codes, files written and refused.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "chromiva/data/data_file.h"
#include "cli_fixture.h"

namespace {

using chromiva::cli::testing::ReadFile;
namespace fs = std::filesystem;

using Cli = chromiva::cli::testing::CliTest;

TEST_F(Cli, DevicesListsEveryInstrument) {
  auto result = Run("devices", "spectrometer:serial=AB123456:exposure=20000,led16,mirror");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("0  kind 33"), std::string::npos);
  EXPECT_NE(result.out.find("serial AB123456  exposure 20000 us (20 ms)"), std::string::npos);
  EXPECT_NE(result.out.find("1  kind 13"), std::string::npos);
  EXPECT_NE(result.out.find("2  kind 34"), std::string::npos);
  EXPECT_EQ(Run("devices", "").status, 1);
}

TEST_F(Cli, MeasureRecordsBothSensorsAndExportWritesThem) {
  auto measured = Run("measure --count 3 --exposure 2 -o run.cvdata", "spectrometer,spectrometer");
  ASSERT_EQ(measured.status, 0) << measured.err;
  auto info = Run("info run.cvdata --json");
  ASSERT_EQ(info.status, 0) << info.err;
  EXPECT_NE(info.out.find("\"serialNo\":\"SP000002\",\"pixelCount\":288,\"exposureUs\":2000,"
                          "\"recordCount\":3"),
            std::string::npos)
      << info.out;
  auto exported = Run("export run.cvdata -o run.csv --sensor SP000002 --step 100");
  ASSERT_EQ(exported.status, 0) << exported.err;
  std::string csv = ReadFile(folder / "run.csv");
  EXPECT_NE(csv.find("\r\n340,"), std::string::npos);
  EXPECT_NE(csv.find("\r\n840,"), std::string::npos);
}

TEST_F(Cli, DefaultFileNameComesFromTheDocumentTitle) {
  ASSERT_EQ(Run("measure --count 1 --exposure 1", "spectrometer:serial=TITLE001").status, 0);
  bool found = false;
  for (const auto& entry : fs::directory_iterator(folder)) {
    std::string name = entry.path().filename().string();
    found = found || (name.rfind("TITLE001", 0) == 0 && entry.path().extension() == ".cvdata");
  }
  EXPECT_TRUE(found);
}

TEST_F(Cli, AutomaticCsvSavesEveryPassByNumber) {
  fs::create_directories(folder / "csv");
  auto result = Run("measure --count 2 --exposure 1 -o a.cvdata --csv-auto csv --csv-name number");
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(fs::exists(folder / "csv" / "No0.csv"));
  EXPECT_TRUE(fs::exists(folder / "csv" / "No1.csv"));
  // Without the folder the records are still kept; the failures are summed up once at the end.
  auto failed = Run("measure --count 2 --exposure 1 -o b.cvdata --csv-auto missing");
  ASSERT_EQ(failed.status, 0) << failed.err;
  EXPECT_TRUE(fs::exists(folder / "b.cvdata"));
  EXPECT_NE(failed.err.find("chromiva-cli: 2 automatic CSV save(s) failed, the last: "),
            std::string::npos)
      << failed.err;
  EXPECT_EQ(failed.err.find("CSV自動保存に失敗しました"), std::string::npos);
}

TEST_F(Cli, BadArgumentsAndFilesAreRefusedWithoutOutput) {
  EXPECT_EQ(Run("measure --count abc").status, 2);
  EXPECT_EQ(Run("measure --bogus").status, 2);
  EXPECT_EQ(Run("measure --average 0").status, 2);
  EXPECT_EQ(Run("frobnicate").status, 2);
  std::ofstream(folder / "junk.cvdata") << "not a data file at all";
  auto refused = Run("export junk.cvdata -o out.csv");
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("junk.cvdata"), std::string::npos);
  EXPECT_FALSE(fs::exists(folder / "out.csv"));
  EXPECT_EQ(Run("info missing.cvdata").status, 2);
  EXPECT_EQ(Run("resave junk.cvdata copy.cvdata").status, 2);
  EXPECT_FALSE(fs::exists(folder / "copy.cvdata"));
}

TEST_F(Cli, NothingToDoExitsOne) {
  EXPECT_EQ(Run("measure --count 1", "led16").status, 1);
  chromiva::data::Ctintrose_mfDoc document;
  document.sensorTable.sensorCount = 1;
  document.sensorTable.sensors[0].serialNo = "EMPTY001";
  ASSERT_TRUE(chromiva::data::SaveDataFile(document, folder / "empty.cvdata").ok());
  EXPECT_EQ(Run("export empty.cvdata -o none.csv").status, 1);
  EXPECT_FALSE(fs::exists(folder / "none.csv"));
  EXPECT_EQ(Run("export empty.cvdata -o white.csv --target 2").status, 0);  // a reference table

  ASSERT_EQ(Run("measure --count 1 --exposure 1 -o one.cvdata").status, 0);
  auto clamped = Run("export one.cvdata -o one.csv --first 5 --last 2 --sensor 0");
  EXPECT_EQ(clamped.status, 0);  // the range is brought into the one record
  ASSERT_EQ(Run("resave one.cvdata two.cvdata").status, 0);
  EXPECT_EQ(ReadFile(folder / "one.cvdata"), ReadFile(folder / "two.cvdata"));
}

TEST_F(Cli, InterruptStopsTheMeasurementAndSavesWhatWasRecorded) {
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    fs::current_path(folder);
    setenv("WRENLINK_SIMULATOR", "spectrometer", 1);
    setenv("WRENLINK_SIM_SPEED", "1", 1);
    int devnull = ::open("/dev/null", O_WRONLY);
    dup2(devnull, 2);
    execl(CHROMIVA_CLI, CHROMIVA_CLI, "measure", "--exposure", "200", "-o", "cut.cvdata",
          static_cast<char*>(nullptr));
    _exit(127);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(900));
  kill(child, SIGINT);
  int raw = 0;
  waitpid(child, &raw, 0);
  ASSERT_TRUE(WIFEXITED(raw));
  EXPECT_EQ(WEXITSTATUS(raw), 0);
  auto info = Run("info cut.cvdata --json");
  ASSERT_EQ(info.status, 0);
  EXPECT_EQ(info.out.find("\"recordCount\":0"), std::string::npos) << info.out;
}

}  // namespace
