// The CSV dialog: its opener, prefill, enable rules, folder rules, OK rules and the export.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../../data/test_support.h"
#include "chromiva/acquisition/control_ids.h"
#include "chromiva/acquisition/dialogs/csv_dialog.h"
#include "test_port.h"

namespace chromiva::acquisition::dialogs {
namespace {

using namespace csv_ids;

CsvDialogFields Fields(const char* first, const char* last, const char* start = "340",
                       const char* end = "850", const char* step = "10") {
  return {start, end, step, first, last, "data"};
}

TEST(CsvDialogOk, DataNumbersBecomeARangeWithinTheStore) {
  struct Case {
    const char* first;
    const char* last;
    int count;
    int wantFirst;
    int wantEnd;
  };
  const Case cases[] = {{"1", "3", 5, 0, 3},  {"5", "3", 5, 4, 4}, {"0", "2", 5, 0, 2},
                        {"2", "99", 5, 1, 5}, {"9", "9", 5, 4, 5}, {"x", "", 5, 0, 0},
                        {"1", "1", 0, 0, 0},  {"-5", "3", 5, 0, 3}};
  for (const Case& c : cases) {
    const CsvDialogOutcome outcome = ApplyCsvDialogOk(Fields(c.first, c.last), c.count);
    ASSERT_TRUE(outcome.accepted);
    EXPECT_EQ(outcome.range.first, c.wantFirst) << c.first << " " << c.last;
    EXPECT_EQ(outcome.range.end, c.wantEnd) << c.first << " " << c.last;
  }
}

TEST(CsvDialogOk, WavelengthsNameAndStep) {
  CsvDialogOutcome outcome = ApplyCsvDialogOk(Fields("1", "1", "200", "900"), 1);
  EXPECT_EQ(outcome.grid.startNm, 340);
  EXPECT_EQ(outcome.grid.endNm, 850);
  EXPECT_EQ(outcome.fixedName, "data.csv");
  outcome = ApplyCsvDialogOk(Fields("1", "1", "500", "400"), 1);
  EXPECT_EQ(outcome.grid.startNm, 500);
  EXPECT_EQ(outcome.grid.endNm, 500);
  outcome = ApplyCsvDialogOk(Fields("1", "1", "900", "100"), 1);
  EXPECT_EQ(outcome.grid.startNm, 850);
  EXPECT_EQ(outcome.grid.endNm, 850);
  outcome = ApplyCsvDialogOk(Fields("1", "1", "340", "850", "0"), 1);
  EXPECT_FALSE(outcome.accepted);
  EXPECT_EQ(outcome.refusal, kStepRefusal);
}

class CsvDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data::test::AddSensor(document, "AB123456");
    data::test::AddSensor(document, "CD\xB1\xB2\xFF");  // stored bytes, shown decoded
    data::test::AddRecords(document, 0, 5);
    data::test::AddRecords(document, 1, 2);
  }

  // Runs the opener; `act` plays the operator in the dialog and returns OK or Cancel.
  bool Open(const std::function<bool(CsvDialog&)>& act, int selected = 0, bool measuring = false) {
    CsvDialogContext context{document, processing, settings, selected, measuring, port};
    return OpenCsvDialog(context, [&](CsvDialog& dialog) { return act(dialog) && dialog.Ok(); });
  }

  data::Ctintrose_mfDoc document;
  data::ProcessingState processing;
  data::CsvSettings settings;
  testing::TestPort port;
};

TEST_F(CsvDialogTest, RefusesWithoutCommittedRecordsOfTheSelectedSensor) {
  int runs = 0;
  auto run = [&](CsvDialog&) { return ++runs > 0; };
  document.recordCount[1] = 0;
  EXPECT_FALSE(Open(run, 1));
  EXPECT_FALSE(Open(run, -1));
  EXPECT_EQ(runs, 0);
  EXPECT_EQ(port.okMessages, (std::vector<std::string>{kNoData, kNoData}));
}

TEST_F(CsvDialogTest, PrefillsFromTheSettingsAndAppliesTheAutomaticSaveState) {
  settings.csvTarget = 2;
  settings.csvFolder = "/data/out";
  Open([](CsvDialog& dialog) {
    const DialogControls& c = dialog.controls();
    EXPECT_EQ(c.Text(kStartNm), "340");
    EXPECT_EQ(c.Text(kEndNm), "850");
    EXPECT_EQ(c.Text(kStepNm), "10");
    EXPECT_EQ(c.Text(kFirstNumber), "1");
    EXPECT_EQ(c.Text(kLastNumber), "5");
    EXPECT_EQ(c.At(kSensor).items, (std::vector<std::string>{"AB123456", "CDｱｲ\uFFFD"}));
    EXPECT_EQ(c.Selection(kSensor), 0);
    EXPECT_EQ(c.Selection(kTarget), 2);
    EXPECT_EQ(c.At(kTarget).items.size(), 4u);
    EXPECT_EQ(c.Text(kFolder), "/data/out");
    EXPECT_EQ(c.Text(kFixedName), "output");
    EXPECT_FALSE(c.Visible(kAddTemp));
    EXPECT_TRUE(c.Checked(kVertical));
    EXPECT_FALSE(c.Checked(kAuto));
    EXPECT_FALSE(c.Enabled(kBrowse));
    EXPECT_TRUE(c.Enabled(kFirstNumber));
    EXPECT_TRUE(c.Checked(kFixedNameMode));
    dialog.Clicked(kAuto);
    dialog.Clicked(kTimeNameMode);
    EXPECT_TRUE(c.Checked(kAuto));
    for (int id : {kFixedNameMode, kTimeNameMode, kFixedName, kNumberNameMode, kFolder, kBrowse,
                   kFolderLabel}) {
      EXPECT_TRUE(c.Enabled(id)) << id;
    }
    EXPECT_FALSE(c.Enabled(kFirstNumber));
    EXPECT_FALSE(c.Enabled(kLastNumber));
    EXPECT_TRUE(c.Checked(kTimeNameMode));
    EXPECT_FALSE(c.Checked(kFixedNameMode));
    return false;
  });
  EXPECT_FALSE(settings.csvAuto);  // Cancel changes nothing
}

TEST_F(CsvDialogTest, BrowseKeepsTheHeldFolderWithoutItsFinalSeparator) {
  settings.csvFolder = "/start";
  struct Case {
    std::optional<std::string> chosen;
    std::string held;
  };
  const Case cases[] = {{"/data/csv/", "/data/csv"},
                        {std::string(260, 'a'), "/data/csv"},
                        {std::nullopt, "/data/csv"},
                        {"/", "/"},
                        {"C:\\", "C:\\"}};
  Open([&](CsvDialog& dialog) {
    for (const Case& c : cases) {
      port.folder = c.chosen;
      dialog.Clicked(kBrowse);
      EXPECT_EQ(dialog.controls().Text(kFolder), c.held);
    }
    return false;
  });
}

TEST_F(CsvDialogTest, OkWithAutomaticSavingTakesTheSettingsAndWritesNothing) {
  ASSERT_TRUE(Open([](CsvDialog& dialog) {
    dialog.Clicked(kAuto);
    dialog.Clicked(kNumberNameMode);
    dialog.Clicked(kAddTemp);
    dialog.Selected(kSensor, 1);
    dialog.Selected(kTarget, 1);
    dialog.EditChanged(kFixedName, "data");
    dialog.EditChanged(kStartNm, "200");
    return true;
  }));
  EXPECT_TRUE(settings.csvAuto);
  EXPECT_EQ(settings.csvAutoMode, 2);
  EXPECT_FALSE(settings.csvAddTemp);
  EXPECT_EQ(settings.csvSensor, 1);
  EXPECT_EQ(settings.csvTarget, 1);
  EXPECT_EQ(settings.csvFixedName, "data.csv");
  EXPECT_EQ(settings.csvStartNm, 340);
  EXPECT_TRUE(port.choices.empty());
}

TEST_F(CsvDialogTest, AStepBelowOneKeepsTheDialogOpen) {
  Open([&](CsvDialog& dialog) {
    dialog.EditChanged(kStepNm, "0");
    EXPECT_FALSE(dialog.Ok());
    EXPECT_EQ(port.okMessages, std::vector<std::string>{kStepRefusal});
    return false;
  });
}

TEST_F(CsvDialogTest, ManualOkAsksForTheFileAndWritesTheRange) {
  const auto path = std::filesystem::temp_directory_path() / "chromiva_csv_dialog.csv";
  port.saveFile = path.string();
  settings.csvVertical = false;
  settings.csvAddWave = false;
  settings.csvAddTemp = false;
  settings.csvAddExp = false;
  ASSERT_TRUE(Open([](CsvDialog& dialog) {
    dialog.EditChanged(kFirstNumber, "2");
    dialog.EditChanged(kLastNumber, "4");
    return true;
  }));
  ASSERT_EQ(port.choices.size(), 1u);
  EXPECT_EQ(port.choices[0].filter, kFilter);
  EXPECT_EQ(port.choices[0].defaultExtension, kExtension);
  EXPECT_EQ(port.choices[0].initialName, kInitialName);
  std::ifstream in(path);
  int lines = 0;
  for (std::string line; std::getline(in, line);) ++lines;
  EXPECT_EQ(lines, 3);  // records 1, 2 and 3
  std::filesystem::remove(path);
}

TEST_F(CsvDialogTest, AFailedManualExportIsReported) {
  port.saveFile = "/nonexistent-folder/x.csv";
  Open([](CsvDialog&) { return true; });
  ASSERT_EQ(port.okMessages.size(), 1u);
  EXPECT_EQ(port.okMessages[0].rfind(kSaveFailed, 0), 0u);
}

}  // namespace
}  // namespace chromiva::acquisition::dialogs
