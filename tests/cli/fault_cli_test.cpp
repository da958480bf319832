// chromiva-cli against instruments that unplug, fall silent, cut replies or get stop signals.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <regex>
#include <thread>

#include "chromiva/data/data_file.h"
#include "cli_fixture.h"

namespace {

using chromiva::cli::testing::CliTest;
using chromiva::cli::testing::Outcome;
using chromiva::cli::testing::ReadFile;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

class FaultCli : public CliTest {
 protected:
  std::string ExtraEnvironment() const override { return environment; }
  std::string environment = "WRENLINK_TIMEOUT_MS=500 WRENLINK_SIM_STATE=state ";

  // Starts chromiva-cli in the background; its output goes to stderr.txt.
  pid_t Start(const std::string& arguments, const std::string& instruments,
              const std::string& timeoutMs) {
    pid_t child = fork();
    if (child == 0) {
      fs::current_path(folder);
      std::string command = "WRENLINK_SIMULATOR='" + instruments +
                            "' WRENLINK_SIM_SPEED=100 WRENLINK_TIMEOUT_MS=" + timeoutMs +
                            " exec '" CHROMIVA_CLI "' " + arguments + " 2>stderr.txt >/dev/null";
      execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    return child;
  }

  // Waits for `child`; its exit status and how long it ran after `since`.
  static std::pair<int, Clock::duration> Finish(pid_t child, Clock::time_point since) {
    int raw = 0;
    waitpid(child, &raw, 0);
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Clock::now() - since};
  }
};

// Each fault stops the measurement at the record it names; the records before it are whole.
TEST_F(FaultCli, MeasureSavesOnlyWholeRecordsAndExitsThreeAtAFault) {
  const struct {
    const char* fault;
    const char* reason;
  } cases[] = {{"disconnect=325", "装置が外れました"},
               {"noreply=330", "応答がありません（0 / 576 バイト）"}};
  // An instrument that cuts every reply is left out at detection already (see
  // InstrumentsThatAnswerShortAreReportedAndNotUsed).
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    Outcome result = Run("measure --count 5 -o d.cvdata", std::string("spectrometer:") + c.fault);
    EXPECT_EQ(result.status, 3) << result.err;
    EXPECT_NE(result.err.find("chromiva-cli: stopped by an instrument fault"), std::string::npos);
    std::smatch found;
    std::regex told("センサー1 \\(SP000001\\) の記録 ([0-9]+) で計測を停止しました: (.*)\\n");
    ASSERT_TRUE(std::regex_search(result.err, found, told)) << result.err;
    EXPECT_EQ(found[2].str(), c.reason);
    chromiva::data::Ctintrose_mfDoc document;
    ASSERT_TRUE(chromiva::data::OpenDataFile(document, folder / "d.cvdata").ok());
    EXPECT_EQ(document.recordCount[0], std::stoi(found[1].str()) - 1);
    for (int r = 0; r < document.recordCount[0]; ++r) {
      const auto& raw = document.Record(0, r).spectra->rawSpectrum;
      EXPECT_GT(*std::min_element(raw.begin(), raw.begin() + 288), 100.0F) << r;
    }
  }
}

// A dark from missing or short frames never reaches the instrument; an unacknowledged write is a
// failure, not "finished".
TEST_F(FaultCli, DarkIsRegisteredOnlyWhenItArrivedAndWasAcknowledgedWhole) {
  const struct {
    const char* serial;
    const char* fault;
    const char* told;
    bool refusedBeforeWriting;
  } cases[] = {
      {"DS1", "short=100", "left out: its tables did not arrive whole", true},
      {"DS2", "disconnect=330", "装置が外れました", true},
      {"DS3", "noreply=1000", "ダークテーブルの登録に失敗しました（応答 ", false},
  };
  fs::create_directories(folder / "state");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    const std::string instrument =
        std::string("spectrometer:light=off:serial=") + c.serial + ":" + c.fault;
    ASSERT_EQ(Run("devices", instrument).status, 0);  // the instrument's state as shipped
    const fs::path state = folder / "state" / (std::string("spectrometer_") + c.serial + ".state");
    const std::string before = ReadFile(state);
    ASSERT_FALSE(before.empty());
    Outcome result = Run("dark --write --yes", instrument);
    EXPECT_EQ(result.status, 3) << result.err;
    EXPECT_NE(result.err.find(c.told), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find("登録を終了しました"), std::string::npos);
    if (c.refusedBeforeWriting) {
      EXPECT_EQ(ReadFile(state), before);
    }
  }
}

// An instrument whose identity or tables arrive cut short is named with what was short, is
// not listed or measured as healthy, and the command exits 3.
TEST_F(FaultCli, InstrumentsThatAnswerShortAreReportedAndNotUsed) {
  const struct {
    const char* arguments;
    const char* instruments;
    const char* told;
  } cases[] = {
      {"devices", "spectrometer:short=4", "instrument 0 did not answer whole (serial number: 4"},
      {"devices", "led16,led16:short=1", "instrument 1 did not answer whole (kind: 1 of 4"},
      {"devices", "spectrometer:noreply=3", "instrument 0 did not answer whole (kind: no answer"},
      {"measure --count 1 -o s.cvdata", "spectrometer:short=1000", "1000 / 1152"},
      {"dark --yes", "spectrometer:light=off:short=1000", "1000 / 1152"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.arguments) + " " + c.instruments);
    const Outcome result = Run(c.arguments, c.instruments);
    EXPECT_EQ(result.status, 3) << result.err;
    EXPECT_NE(result.err.find(c.told), std::string::npos) << result.err;
    EXPECT_EQ(result.out.find(" kind 0 "), std::string::npos) << result.out;
    EXPECT_FALSE(fs::exists(folder / "s.cvdata"));
  }
}

TEST_F(FaultCli, SigtermEndsAStuckTableWriteWithinOneTimeoutAndASecond) {
  pid_t child =
      Start("dark --write --yes", "spectrometer:serial=TERM1:light=off:noreply=1000", "1500");
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // writing, then stuck
  kill(child, SIGTERM);
  auto [status, after] = Finish(child, Clock::now());
  EXPECT_EQ(status, 128 + SIGTERM);
  EXPECT_LT(after, std::chrono::milliseconds(2500));
}

TEST_F(FaultCli, SigintEndsALongPassAtOnceAndSavesWhatWasCommitted) {
  pid_t child = Start("measure --average 100000 -o long.cvdata", "spectrometer", "3000");
  std::this_thread::sleep_for(std::chrono::milliseconds(800));
  kill(child, SIGINT);
  auto [status, after] = Finish(child, Clock::now());
  EXPECT_EQ(status, 0);
  EXPECT_LT(after, std::chrono::milliseconds(1000));
  EXPECT_NE(ReadFile(folder / "stderr.txt").find("saved 0 record(s)"), std::string::npos);
}

// The first Ctrl-C waits for a silent instrument's transfer; the second ends at once, saving.
TEST_F(FaultCli, ASecondSigintEndsAtOnceAfterSaving) {
  pid_t child = Start("measure -o two.cvdata", "spectrometer:noreply=340", "20000");
  // The passes before the silence take well under a second; under load, allow more. The run
  // then waits in its 20 s timeout, so a longer wait cannot miss the moment.
  std::this_thread::sleep_for(std::chrono::milliseconds(3000));
  kill(child, SIGINT);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  kill(child, SIGINT);
  auto [status, after] = Finish(child, Clock::now());
  EXPECT_EQ(status, 128 + SIGINT);
  EXPECT_LT(after, std::chrono::milliseconds(1000));
  chromiva::data::Ctintrose_mfDoc document;
  ASSERT_TRUE(chromiva::data::OpenDataFile(document, folder / "two.cvdata").ok());
  EXPECT_GT(document.recordCount[0], 0);
}

TEST_F(FaultCli, UnusableSettingsAreSaidOnceWithTheValueTaken) {
  environment = "WRENLINK_TIMEOUT_MS=abc WRENLINK_SIM_SPEED=fast ";
  Outcome result =
      Run("devices", "spectrometr,spectrometer:serial=LONGSERIAL9:hue=red,spectrometer:exposure=x");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("serial LONGSERI"), std::string::npos) << result.out;
  for (const char* said :
       {"WRENLINK_TIMEOUT_MS='abc' is not a whole number from 1 to 3600000; using 12000",
        "WRENLINK_SIM_SPEED='fast' is not a number from 0.001 to 1000000; using 1",
        "unknown instrument 'spectrometr'; left out",
        "is longer than 8 characters; using 'LONGSERI'",
        "option exposure='x' is not a whole number from 0 to 2147483647; using 100000",
        "option 'hue' is not known; ignored"}) {
    const auto first = result.err.find(said);
    EXPECT_NE(first, std::string::npos) << said << "\n" << result.err;
    EXPECT_EQ(result.err.find(said, first + 1), std::string::npos) << said;
  }
}

}  // namespace
