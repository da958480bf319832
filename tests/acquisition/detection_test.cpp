// Detection, release and sensor selection on simulated instruments.
#include "chromiva/acquisition/calibration_io.h"
#include "chromiva/data/text_codec.h"
#include "simulator_fixture.h"

namespace chromiva::acquisition::testing {
namespace {

using Detection = SimulatorTest;

constexpr const char* kMixedBus =
    "led16,kind9,mirror,spectrometer:serial=ABCDEFGHIJKL:exposure=20500,led8,kind40,kind50,"
    "spectrometer:serial=XY123:exposure=35000";

TEST_F(Detection, SpectrometersAmongOtherKindsBecomeSlotsInIndexOrder) {
  DetectWith(kMixedBus);
  const auto& table = document.sensorTable;
  ASSERT_EQ(table.sensorCount, 2);
  EXPECT_EQ(form->fields().deviceIndex[0], 3);
  EXPECT_EQ(form->fields().deviceIndex[1], 7);
  EXPECT_EQ(table.sensors[0].serialNo, "ABCDEFGH");  // cut to 8
  EXPECT_EQ(table.sensors[1].serialNo, "XY123");
  EXPECT_EQ(table.sensors[0].kindName, "C12880MA");
  EXPECT_EQ(table.sensors[0].exposureUs, 20500);
  EXPECT_EQ(form->controls().At(control::kSensorList).items,
            (std::vector<std::string>{"ABCDEFGH", "XY123"}));
  EXPECT_EQ(form->controls().At(control::kDeviceList).items,
            (std::vector<std::string>{"LED16ch", "M-MIRROR", "LED8ch"}));
  EXPECT_EQ(table.ledCount, 2);
  EXPECT_EQ(table.ledChannels[0], 16);
  EXPECT_EQ(table.ledChannels[1], 8);
  EXPECT_EQ(table.mirrorCount, 1);
  EXPECT_EQ(form->fields().mirrorDeviceIndex, 2);
  EXPECT_EQ(form->controls().Text(control::kExposure), "20");  // 20500 us shown truncated
  EXPECT_EQ(form->controls().Text(control::kDetect), "解除");
  EXPECT_TRUE(form->fields().detected);
  EXPECT_EQ(form->fields().selectedSensor, 0);
  EXPECT_NE(data::DisplayText(document.operationLog)
                .find("センサー検出 1:serial=ABCDEFGH exp=20  2:serial=XY123 exp=35  \r\n"),
            std::string::npos);
  EXPECT_EQ(port.messages.back(),
            "計測モードを選択してください | "
            "検出したセンサーを選択すると、露光時間を変更できます");
}

TEST_F(Detection, SerialsKeepTheInstrumentsBytesAndShowDecoded) {
  DetectWith(
      "spectrometer:serial=SP\xB1\xB2\xB3"
      "001,spectrometer:serial=\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF");
  EXPECT_EQ(document.Sensor(0).serialNo,
            "SP\xB1\xB2\xB3"
            "001");
  EXPECT_EQ(document.Sensor(1).serialNo, std::string(8, '\xFF'));
  EXPECT_EQ(form->controls().At(control::kSensorList).items[0], "SPｱｲｳ001");
  EXPECT_NE(document.operationLog.find("1:serial=SP\xB1\xB2\xB3"
                                       "001 exp="),
            std::string::npos);
  EXPECT_NE(document.operationLog.find("2:serial=" + std::string(8, '\xFF')), std::string::npos);
}

TEST_F(Detection, ReadsTheInstrumentsTablesAndBuildsTheDarkModel) {
  DetectWith("spectrometer");
  const auto& sensor = document.sensorTable.sensors[0];
  EXPECT_GT(sensor.wavelengthTable[0], 330.0F);
  EXPECT_LT(sensor.wavelengthTable[287], 860.0F);
  EXPECT_GT(sensor.darkTables[19][5], sensor.darkTables[0][5]);
  EXPECT_EQ(sensor.whiteTable[288], 50000.0F);
  EXPECT_NEAR(sensor.sensitivityTable[100], 1.0F, 0.05F);
  const auto& model = form->processing().dark[0];
  EXPECT_EQ(model.darkOffset[5], sensor.darkTables[0][5]);
  EXPECT_EQ(model.darkSlope[5], sensor.darkTables[19][5] - sensor.darkTables[0][5]);
  EXPECT_DOUBLE_EQ(sensor.compBlock[0], 336.0);
  EXPECT_TRUE(port.okMessages.empty());
}

TEST_F(Detection, ShortTableRepliesLeaveTheSensorOutAndAreReported) {
  DetectWith("spectrometer:serial=SHORT001:short=100");
  ASSERT_EQ(document.sensorTable.sensorCount, 0);  // not measured with partly missing tables
  ASSERT_EQ(port.okMessages.size(), 1u);
  EXPECT_NE(port.okMessages[0].find("センサー1 (SHORT001) のダークテーブル(ステップ0)"),
            std::string::npos);
  EXPECT_NE(port.okMessages[0].find("（100 / 1152 バイト）"), std::string::npos);
  EXPECT_NE(port.okMessages[0].find("ホワイトテーブル"), std::string::npos);
}

TEST_F(Detection, NothingFoundShowsNothingAndKeepsTheCaption) {
  DetectWith("led16");
  EXPECT_EQ(document.sensorTable.sensorCount, 0);
  EXPECT_FALSE(form->fields().detected);
  EXPECT_EQ(form->controls().Text(control::kDetect), "検出");
  EXPECT_TRUE(port.messages.empty());
  EXPECT_FALSE(form->controls().Enabled(control::kStartStop));
  EXPECT_TRUE(document.operationLog.empty());
}

TEST_F(Detection, RedetectionWithRecordsAsksBeforeClearing) {
  DetectWith("spectrometer");
  document.EnsureSpectra(0, 0);
  document.recordCount[0] = 3;
  Writable(*form).displayIndex = 2;
  form->OnControlClicked(control::kDetect);
  port.answers = {false};
  form->OnControlClicked(control::kDetect);
  EXPECT_EQ(port.questions.back(),
            "取り込み済みのデータはクリアされますが、よろしかったでしょうか");
  EXPECT_EQ(document.recordCount[0], 3);
  EXPECT_FALSE(form->fields().detected);
  port.answers = {true};
  form->OnControlClicked(control::kDetect);
  EXPECT_EQ(document.recordCount[0], 0);
  EXPECT_EQ(form->fields().displayIndex, 0);
  EXPECT_TRUE(form->fields().detected);
}

TEST_F(Detection, ReleaseClosesOnlyTheSpectrometersAndKeepsTheTable) {
  DetectWith("mirror,spectrometer");
  form->OnControlClicked(control::kDetect);
  EXPECT_EQ(document.sensorTable.sensorCount, 1);
  EXPECT_EQ(form->controls().Text(control::kDetect), "検出");
  EXPECT_TRUE(form->controls().At(control::kSensorList).items.empty());
  EXPECT_EQ(port.messages.back(), "センサーを接続して検出ボタンを押してください");
  EXPECT_NE(data::DisplayText(document.operationLog).find(",センサー解除 \r\n"), std::string::npos);
  double exposure = 0;
  EXPECT_EQ(GetDeviceExposure(1, &exposure), 0);  // the spectrometer's slot is closed
  EXPECT_EQ(SetMirror(0, 5), 4);                  // the mirror unit stays open
}

TEST_F(Detection, SelectingAnotherSensorStoresTheTypedExposure) {
  DetectWith("spectrometer:exposure=15000,spectrometer:exposure=30000");
  EXPECT_EQ(form->controls().Text(control::kExposure), "15");
  form->SetControlText(control::kExposure, "20");
  form->SelectListItem(control::kSensorList, 1);
  EXPECT_EQ(document.sensorTable.sensors[0].exposureUs, 20000);
  EXPECT_EQ(form->controls().Text(control::kExposure), "30");
  EXPECT_EQ(port.messages.back(), "露光時間を変更して開始ボタンを押すことで計測を開始します");
  EXPECT_EQ(port.summaries.back(), 1);
}

TEST_F(Detection, EnableRulesFollowModeAndState) {
  DetectWith("spectrometer");
  const auto& c = form->controls();
  EXPECT_TRUE(c.Enabled(control::kStartStop));
  EXPECT_TRUE(c.Enabled(control::kSkyBgd));
  EXPECT_FALSE(c.Enabled(control::kWhite));
  form->OnControlClicked(control::kReflectance);
  EXPECT_TRUE(c.Enabled(control::kWhite));
  EXPECT_FALSE(c.Enabled(control::kSkyBgd));
  EXPECT_TRUE(c.Checked(control::kReflectance));
  EXPECT_FALSE(c.Checked(control::kLightSource));
  form->SetControlChecked(control::kRecordMode, true);
  form->OnControlClicked(control::kRecordMode);
  EXPECT_FALSE(c.Enabled(control::kOneShot));
  form->OnControlClicked(control::kStartStop);
  for (int id : {control::kDetect, control::kClear, control::kBack, control::kNext, control::kCsv,
                 control::kDark, control::kWhite}) {
    EXPECT_FALSE(c.Enabled(id)) << id;
  }
  EXPECT_TRUE(c.Enabled(control::kStartStop));
  form->OnControlClicked(control::kStartStop);
  port.RunTimers(*form);
  EXPECT_TRUE(c.Enabled(control::kDetect));
}

TEST(SerialNumber, ShortTextIsRefusedAndSevenCharactersSendTheirNul) {
  const chromiva::test::ScopedEnv simulator("WRENLINK_SIMULATOR", "spectrometer:serial=OLD00001");
  ASSERT_EQ(DetectDevice(0), 1);
  EXPECT_FALSE(WriteSerialNo(0, "ABC123"));
  unsigned char serial[64] = {};
  GetDeviceSerialNo(0, serial, 64);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(serial), 8), "OLD00001");
  EXPECT_TRUE(WriteSerialNo(0, "NEW0001"));
  GetDeviceSerialNo(0, serial, 64);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(serial)), "NEW0001");
  EXPECT_TRUE(WriteSerialNo(0, "LONGER123456"));
  GetDeviceSerialNo(0, serial, 64);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(serial), 9), std::string("LONGER12\0", 9));
  CloseDevice(0);
}

}  // namespace
}  // namespace chromiva::acquisition::testing
