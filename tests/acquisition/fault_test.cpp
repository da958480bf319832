// Instruments that fail during detection and measurement: what is kept, what is told.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "chromiva/acquisition/texts.h"
#include "chromiva/data/text_codec.h"
#include "simulator_fixture.h"

namespace chromiva::acquisition::testing {
namespace {

using Faults = SimulatorTest;

bool AnyContains(const std::vector<std::string>& lines, const std::string& part) {
  for (const auto& line : lines) {
    if (line.find(part) != std::string::npos) return true;
  }
  return false;
}

TEST_F(Faults, DetectionLeavesOutASilentInstrumentAfterOneTimeout) {
  const chromiva::test::ScopedEnv timeout("WRENLINK_TIMEOUT_MS", "300");
  const auto start = std::chrono::steady_clock::now();
  DetectWith("spectrometer:serial=SILENT01:noreply=5,spectrometer:serial=HEALTHY1");
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_LT(elapsed, std::chrono::milliseconds(900));  // under three timeouts
  ASSERT_EQ(document.sensorTable.sensorCount, 1);
  EXPECT_EQ(document.Sensor(0).serialNo, "HEALTHY1");
  EXPECT_EQ(form->fields().deviceIndex[0], 1);
  EXPECT_TRUE(AnyContains(port.okMessages, "left out at index 0"));
}

// Detection 319 exchanges, the exposure 1, each pass of a zero exposure 4 (s, S, d, T): the
// instrument drops off the bus at the start of the second pass, which recording would have
// committed as record 2.
TEST_F(Faults, AFaultedPassIsNeitherCommittedNorRegistered) {
  DetectWith("spectrometer:serial=FAULT001:exposure=0:disconnect=324");
  form->SetControlChecked(control::kRecordMode, true);
  form->OnControlClicked(control::kRecordMode);
  form->OnControlClicked(control::kStartStop);
  port.RunTimers(*form);
  EXPECT_EQ(document.recordCount[0], 1);
  EXPECT_FALSE(form->fields().measuring);
  EXPECT_TRUE(form->controls().Enabled(control::kStartStop));
  ASSERT_EQ(port.okMessages.size(), 1u);
  EXPECT_EQ(port.okMessages[0],
            "センサー1 (FAULT001) の記録 2 で計測を停止しました: 装置が外れました");
  EXPECT_EQ(form->Status().lastFault->kind, FaultKind::kUnplugged);
}

// A fault is told in the window's language; the history keeps the line as written.
TEST_F(Faults, AFaultIsToldTranslatedAndLoggedAsWritten) {
  struct FakeEnglish {
    FakeEnglish() {
      SetTextLookup([](const char* source) { return std::string("<EN>") + source; });
    }
    ~FakeEnglish() { SetTextLookup(nullptr); }
  } english;
  DetectWith("spectrometer:serial=FAULT003:exposure=0:disconnect=324");
  form->OnControlClicked(control::kStartStop);
  port.RunTimers(*form);
  ASSERT_EQ(port.okMessages.size(), 1u);
  EXPECT_EQ(port.okMessages[0].rfind("<EN>センサー1 (FAULT003) の記録 1 で", 0), 0u);
  const std::string history = data::DisplayText(document.operationLog);
  EXPECT_NE(history.find("センサー1 (FAULT003) の記録 1 で計測を停止しました: 装置が外れました"),
            std::string::npos);
  EXPECT_EQ(history.find("<EN>"), std::string::npos);
}

// Without recording the working slot keeps the spectra of the pass before; after a failed pass
// they are not registered either.
TEST_F(Faults, TheWorkingSlotOfAFailedPassIsNotRegistered) {
  DetectWith("spectrometer:serial=FAULT002:exposure=0:disconnect=324");
  form->OnControlClicked(control::kStartStop);
  port.RunTimers(*form);
  EXPECT_EQ(document.recordCount[0], 0);
  EXPECT_EQ(form->Status().lastFault->record, 0);
  const auto white = document.Sensor(0).whiteTable;
  form->OnControlClicked(control::kReflectance);
  form->OnControlClicked(control::kWhite);
  EXPECT_EQ(port.okMessages.back(),
            "表示中のデータは装置から完全に届かなかったため、登録できません。計測し直してくだ"
            "さい。");
  EXPECT_EQ(document.Sensor(0).whiteTable, white);
}

TEST_F(Faults, AStopRequestEndsAPassBetweenFramesWithoutCommittingIt) {
  DetectWith("spectrometer:serial=STOPPED1:exposure=0");
  form->SetControlChecked(control::kRecordMode, true);
  form->OnControlClicked(control::kRecordMode);
  form->SetControlText(control::kAverage, "1000000");
  std::function<void()> pass;
  form->SetWorkerLauncher(std::make_unique<ScriptedLauncher>(
      [&pass](std::function<void()> work) { pass = std::move(work); }));
  form->OnControlClicked(control::kStartStop);
  ASSERT_TRUE(port.FireNext(*form));  // launches the long pass
  ASSERT_TRUE(pass);
  form->OnControlClicked(control::kStartStop);
  pass();  // its second frame meets the stop request
  port.RunTimers(*form);
  EXPECT_EQ(document.recordCount[0], 0);
  EXPECT_EQ(form->Status().lastFault->kind, FaultKind::kStopped);
  EXPECT_TRUE(port.okMessages.empty());
  EXPECT_TRUE(form->controls().Enabled(control::kStartStop));
}

// OUT requests in `trace` after its first unanswered read (or after its line `from`).
int RequestsAfter(const std::string& trace, std::size_t from, bool afterSilence) {
  std::ifstream in(trace);
  int requests = 0;
  bool counting = !afterSilence;
  std::size_t number = 0;
  for (std::string line; std::getline(in, line); ++number) {
    if (number < from) continue;
    std::istringstream words(line);
    std::string direction, device, length, reply;
    words >> direction >> device >> length >> reply;
    if (counting && direction == "OUT") ++requests;
    if (direction == "IN" && reply.empty()) counting = true;
  }
  return requests;
}

std::size_t LineCount(const std::string& path) {
  std::ifstream in(path);
  std::size_t lines = 0;
  for (std::string line; std::getline(in, line);) ++lines;
  return lines;
}

// After a transfer that got no answer, only the one probe that tells silence from unplugging
// goes out; after a stop request nothing more does.
TEST_F(Faults, AfterAFaultOrAStopNoNewTransferStarts) {
  const chromiva::test::ScopedEnv timeout("WRENLINK_TIMEOUT_MS", "200");
  const std::string trace = ::testing::TempDir() + "chromiva_stop_after_fault.trace";
  const struct {
    const char* instrument;  // detection takes 319 requests, the dark's exposure one more
    bool stopAfterFirstStep;
    int mostRequests;
  } cases[] = {{"spectrometer:light=off:noreply=320", false, 1},
               {"spectrometer:light=off", true, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.instrument);
    TearDown();
    SetUp();
    DetectWith(c.instrument);
    ASSERT_EQ(document.sensorTable.sensorCount, 1);
    std::filesystem::remove(trace);
    setenv("WRENLINK_TRACE", trace.c_str(), 1);
    port.answers = {true, false};
    form->OnControlClicked(control::kDark);
    std::size_t stoppedAt = 0;
    if (c.stopAfterFirstStep) {
      ASSERT_TRUE(port.FireNext(*form));
      RequestTransferStop();
      stoppedAt = LineCount(trace);
    }
    port.RunTimers(*form);
    unsetenv("WRENLINK_TRACE");
    EXPECT_FALSE(form->fields().darkRunning);
    EXPECT_TRUE(form->Status().lastFault->Any());
    EXPECT_LE(RequestsAfter(trace, stoppedAt, !c.stopAfterFirstStep), c.mostRequests);
  }
  ClearTransferStop();
  std::filesystem::remove(trace);
}

}  // namespace
}  // namespace chromiva::acquisition::testing
