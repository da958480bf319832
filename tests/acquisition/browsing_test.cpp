// Record browsing over a document filled by hand: paging, playback, the display choices, data
// clear and the comparison with a second data file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "chromiva/data/data_file.h"
#include "test_port.h"

namespace chromiva::acquisition::testing {
namespace {

// One sensor whose wavelength table runs 330 + 2p nm; record r has raw value r + p at pixel p.
void FillDocument(data::Ctintrose_mfDoc& document, int sensors, int records) {
  document.sensorTable.sensorCount = sensors;
  for (int k = 0; k < sensors; ++k) {
    data::SensorEntry& sensor = document.Sensor(k);
    sensor.serialNo = "BRW0000" + std::to_string(k);
    for (int p = 0; p < data::kMaxPixels; ++p) {
      sensor.wavelengthTable[p] = 330.0F + 2.0F * static_cast<float>(p);
    }
    for (int r = 0; r < records; ++r) {
      data::RecordSpectra& spectra = document.EnsureSpectra(k, r);
      for (int p = 0; p < data::kMaxPixels; ++p) {
        spectra.rawSpectrum[p] = static_cast<float>(r + p + 100 * k);
        spectra.processedSpectrum[p] = spectra.rawSpectrum[p];
      }
    }
    document.recordCount[k] = records;
  }
}

class Browsing : public ::testing::Test {
 protected:
  void Make(int records, bool playback = false) {
    FillDocument(document, 1, records);
    FormSettings settings;
    settings.playbackOn = playback;
    form = std::make_unique<FormLogic>(document, port, settings);
    Writable(*form).selectedSensor = 0;
  }

  std::string Position() const { return form->controls().Text(control::kPosition); }

  data::Ctintrose_mfDoc document;
  TestPort port;
  std::unique_ptr<FormLogic> form;
};

TEST_F(Browsing, PagingStopsAtBothEnds) {
  Make(5);
  Writable(*form).displayIndex = 4;
  form->OnControlClicked(control::kNext);
  EXPECT_EQ(form->fields().displayIndex, 4);
  EXPECT_EQ(port.graphDraws, 0);
  form->OnControlClicked(control::kBack);
  EXPECT_EQ(Position(), "4 / 5");
  EXPECT_EQ(form->fields().playbackDirection, 1);
  EXPECT_EQ(port.graphDraws, 1);
  EXPECT_EQ(port.summaries, std::vector<int>{0});
  // The displayed record was reprocessed: record 3, pixel p holds 3 + p, 342 nm is pixel 6.
  EXPECT_FLOAT_EQ(form->processing().outputs[0].displaySpectrum[2], 9.0F);
  EXPECT_TRUE(port.timers.empty());  // no playback
  Writable(*form).displayIndex = 0;
  form->OnControlClicked(control::kBack);
  EXPECT_EQ(form->fields().displayIndex, 0);
  EXPECT_EQ(port.graphDraws, 1);
}

TEST_F(Browsing, PlaybackRunsToEachEndInTheDirectionOfTheLastStep) {
  Make(10, true);
  form->OnControlClicked(control::kNext);
  EXPECT_EQ(port.armings.back(), std::make_pair(timer::kPlayback, 5u));
  EXPECT_EQ(port.RunTimers(*form), 9);  // 8 steps, then one at the end
  EXPECT_EQ(Position(), "10 / 10");
  EXPECT_TRUE(port.timers.empty());
  form->OnControlClicked(control::kBack);
  port.RunTimers(*form);
  EXPECT_EQ(Position(), "1 / 10");
  EXPECT_TRUE(port.timers.empty());
}

TEST_F(Browsing, PlaybackEndsWhenTheBoxIsClearedOrAMeasurementStarts) {
  Make(10, true);
  form->OnControlClicked(control::kNext);
  form->OnControlClicked(control::kPlayback);
  EXPECT_EQ(port.messages.back(), "BACK/NEXT操作を解除します。");
  EXPECT_FALSE(form->controls().Checked(control::kPlayback));
  port.RunTimers(*form);
  EXPECT_EQ(Position(), "3 / 10");  // the step already armed still runs
  form->OnControlClicked(control::kPlayback);
  EXPECT_EQ(port.messages.back(), "BACK/NEXT操作を連続して行います。");
  EXPECT_TRUE(port.timers.empty());  // switching on does not start playback
  form->OnControlClicked(control::kNext);
  Writable(*form).measuring = true;  // a pass must not race with reprocessing
  port.RunTimers(*form);
  EXPECT_EQ(Position(), "4 / 10");
  EXPECT_TRUE(port.timers.empty());
}

TEST_F(Browsing, SelectedOnlyNeedsAnIdleFormAndRecordsOfTheSelectedSensor) {
  Make(3);
  Writable(*form).measuring = true;
  form->OnControlClicked(control::kSelectedOnly);
  EXPECT_FALSE(form->fields().selectedOnly);
  EXPECT_TRUE(port.messages.empty());
  Writable(*form).measuring = false;
  Writable(*form).selectedSensor = -1;
  form->OnControlClicked(control::kSelectedOnly);
  EXPECT_FALSE(form->fields().selectedOnly);
  Writable(*form).selectedSensor = 0;
  form->OnControlClicked(control::kSelectedOnly);
  EXPECT_TRUE(form->fields().selectedOnly);
  EXPECT_EQ(port.messages.back(), "選択したセンサーのデータのみ表示します。 | ");
  EXPECT_EQ(port.graphDraws, 1);
  form->OnControlClicked(control::kSelectedOnly);
  EXPECT_FALSE(form->fields().selectedOnly);
  EXPECT_EQ(port.messages.back(), "全センサーのデータを表示します。 | ");
  EXPECT_EQ(port.summaries, (std::vector<int>{0, 0}));
}

TEST_F(Browsing, DisplayKindFollowsTheSelector) {
  Make(1);
  form->SelectListItem(control::kDisplayKind, 1);
  EXPECT_EQ(form->fields().displayKind, 1);
  EXPECT_EQ(port.messages.back(),
            "波長スペクトルから CIE-X,Y,Zを計算、さらに、ＲＧＢに変換し表示します。");
  form->SelectListItem(control::kDisplayKind, 0);
  EXPECT_EQ(form->fields().displayKind, 0);
  EXPECT_EQ(port.messages.back(), "波長スペクトルの最大値、最小値およびその波長を表示します");
  EXPECT_EQ(port.summaries, (std::vector<int>{0, 0}));
}

TEST_F(Browsing, DataClearAsksThenEmptiesTheRecordsAndRenames) {
  Make(3);
  document.title = "sample.cvdata";
  document.operationLog = "kept\r\n";
  Writable(*form).displayIndex = 2;
  Refresh(*form);
  form->OnControlClicked(control::kClear);  // answered Cancel
  EXPECT_EQ(port.questions, std::vector<std::string>{"データを削除していいですか？"});
  EXPECT_EQ(document.recordCount[0], 3);

  port.answers.push_back(true);
  form->OnControlClicked(control::kClear);
  EXPECT_EQ(document.recordCount[0], 0);
  EXPECT_EQ(document.Record(0, 0).spectra, nullptr);
  EXPECT_EQ(Position(), "1 / 0");
  EXPECT_EQ(form->controls().Text(control::kRecordCount), "0");
  EXPECT_EQ(document.title, "無題");
  EXPECT_EQ(port.armings.back(), std::make_pair(timer::kStartup, 100u));
  EXPECT_FLOAT_EQ(form->processing().outputs[0].displaySpectrum[100], 0.0F);
  EXPECT_EQ(document.operationLog, "kept\r\n");
  EXPECT_EQ(document.Sensor(0).serialNo, "BRW00000");

  form->OnControlClicked(control::kClear);
  EXPECT_EQ(port.okMessages, std::vector<std::string>{"削除するデータはありません"});
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Comparison : public Browsing {
 protected:
  void SetUp() override {
    Make(2);
    folder = std::filesystem::path(::testing::TempDir()) / "chromiva_compare";
    std::filesystem::create_directories(folder);
    data::Ctintrose_mfDoc other;
    FillDocument(other, 2, 3);
    ASSERT_TRUE(data::SaveDataFile(other, folder / "other.trdata").ok());
  }

  void Load(const std::filesystem::path& path) {
    port.openFile = path.string();
    form->OnControlClicked(control::kCompare);
  }

  std::string Field(int id) const { return form->controls().Text(id); }

  std::filesystem::path folder;
};

TEST_F(Comparison, LoadedDocumentEnablesTheSteppingControls) {
  for (int id : {control::kCompareBack, control::kCompareNext, control::kCompareNext2}) {
    EXPECT_FALSE(form->controls().Enabled(id)) << id;
  }
  form->OnControlClicked(control::kCompareNext);
  EXPECT_EQ(port.graphDraws, 0);
  Load(folder / "other.trdata");
  ASSERT_NE(form->Status().compareDocument, nullptr);
  EXPECT_EQ(Field(control::kCompareField), "other.trdata");
  EXPECT_EQ(Field(control::kCompareField2), "1 / 2");
  EXPECT_EQ(Field(control::kCompareField3), "1 / 3");
  EXPECT_EQ(port.armings.back(), std::make_pair(timer::kStartup, 100u));
  for (int id : {control::kCompareBack, control::kCompareNext, control::kCompareField2,
                 control::kCompareBack2, control::kCompareNext2, control::kCompareField3}) {
    EXPECT_TRUE(form->controls().Enabled(id)) << id;
  }
  // 400 nm lies halfway between pixels 34 (398 nm) and 35 (400 nm): pixel 35 exactly.
  EXPECT_FLOAT_EQ(form->fields().compareSpectrum[0][60], 35.0F);
  EXPECT_FLOAT_EQ(form->fields().compareSpectrum[0][61], 35.5F);
}

TEST_F(Comparison, SteppingStopsAtItsEnds) {
  Load(folder / "other.trdata");
  form->OnControlClicked(control::kCompareBack);
  EXPECT_EQ(Field(control::kCompareField2), "1 / 2");
  form->OnControlClicked(control::kCompareNext);
  EXPECT_EQ(Field(control::kCompareField2), "2 / 2");
  EXPECT_FLOAT_EQ(form->fields().compareSpectrum[1][60], 135.0F);
  form->OnControlClicked(control::kCompareNext);
  EXPECT_EQ(Field(control::kCompareField2), "2 / 2");
  form->OnControlClicked(control::kCompareNext2);
  form->OnControlClicked(control::kCompareNext2);
  form->OnControlClicked(control::kCompareNext2);
  EXPECT_EQ(Field(control::kCompareField3), "3 / 3");
  EXPECT_FLOAT_EQ(form->fields().compareSpectrum[1][60], 137.0F);
  form->OnControlClicked(control::kCompareBack);  // the record stays
  EXPECT_EQ(Field(control::kCompareField3), "3 / 3");
  form->OnControlClicked(control::kCompareBack2);
  form->OnControlClicked(control::kCompareBack2);
  form->OnControlClicked(control::kCompareBack2);
  EXPECT_EQ(Field(control::kCompareField3), "1 / 3");
  EXPECT_EQ(port.graphDraws, 6);  // one per step that moved
}

TEST_F(Comparison, UnreadableFilesAreReportedAndThePreviousComparisonStays) {
  Load(folder / "other.trdata");
  const data::Ctintrose_mfDoc* previous = form->Status().compareDocument;
  form->OnControlClicked(control::kCompareNext);
  {
    std::ofstream bad(folder / "bad.trdata", std::ios::binary);
    bad << std::string(4, '\xFF');  // a sensor count of -1
    const std::string whole = ReadAll(folder / "other.trdata");
    std::ofstream cut(folder / "cut.trdata", std::ios::binary);
    cut << whole.substr(0, whole.size() / 2);
  }
  Load(folder / "bad.trdata");
  Load(folder / "cut.trdata");
  Load(folder / "missing.trdata");
  ASSERT_EQ(port.okMessages.size(), 3u);
  EXPECT_EQ(port.okMessages[0].rfind("予期しないファイル形式です。\nbad.trdata: ", 0), 0u)
      << port.okMessages[0];
  EXPECT_EQ(port.okMessages[1].rfind("cut.trdata の末尾以降にアクセスしようとしました。\n", 0), 0u)
      << port.okMessages[1];
  EXPECT_NE(port.okMessages[2].find("missing.trdata"), std::string::npos);
  EXPECT_EQ(form->Status().compareDocument, previous);
  EXPECT_EQ(Field(control::kCompareField), "other.trdata");
  EXPECT_EQ(Field(control::kCompareField2), "2 / 2");
}

TEST_F(Comparison, CancelDropsTheComparison) {
  Load(folder / "other.trdata");
  form->OnControlClicked(control::kCompareNext);
  port.openFile.reset();
  form->OnControlClicked(control::kCompare);
  EXPECT_EQ(form->Status().compareDocument, nullptr);
  EXPECT_EQ(Field(control::kCompareField), "");
  EXPECT_EQ(form->fields().compareSensor, 0);
  EXPECT_FALSE(form->controls().Enabled(control::kCompareNext));
  EXPECT_EQ(port.armings.back(), std::make_pair(timer::kStartup, 100u));
  form->OnControlClicked(control::kCompareNext2);
  EXPECT_EQ(form->fields().compareRecord, 0);
}

}  // namespace
}  // namespace chromiva::acquisition::testing
