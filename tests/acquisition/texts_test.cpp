// Composed messages take their template and the marked texts in them from the window's
// language; what goes into the history stays as written.
#include <gtest/gtest.h>

#include "chromiva/acquisition/calibration_io.h"
#include "chromiva/acquisition/file_messages.h"
#include "chromiva/acquisition/instrument_fault.h"
#include "chromiva/acquisition/texts.h"

namespace chromiva::acquisition {
namespace {

std::string FakeEnglish(const char* source) {
  return std::string("<EN>") + source;
}

class Texts : public ::testing::Test {
 protected:
  void SetUp() override { SetTextLookup(&FakeEnglish); }
  void TearDown() override { SetTextLookup(nullptr); }
};

TEST_F(Texts, ComposedMessagesAreFilledIntoTranslatedTemplates) {
  const InstrumentFault noAnswer{FaultKind::kNoAnswer, 0, 2, 0, 576};
  const InstrumentFault unplugged{FaultKind::kUnplugged, 1, -1, 0, 0};
  const data::DataFileResult truncated{data::DataFileError::kTruncated, "at byte 12", {}};
  const struct {
    std::string composed;
    std::string expected;
  } cases[] = {
      {DescribeFault(noAnswer, "SP1"),
       "<EN>センサー1 (SP1) の記録 3 で計測を停止しました: <EN>応答がありません<EN>（0 / 576 "
       "バイト）"},
      {DescribeFault(unplugged, "SP2"),
       "<EN>センサー2 (SP2) で計測を停止しました: <EN>装置が外れました"},
      {DescribeFault(noAnswer, "SP1", &AsWritten),  // the history's line
       "センサー1 (SP1) の記録 3 で計測を停止しました: 応答がありません（0 / 576 バイト）"},
      {DescribeFailedWrite(0, "SP1", "ダークテーブル", TableWrite{12, 6069}),
       "<EN>センサー1 (SP1) への<EN>ダークテーブルの登録に失敗しました（応答 12 / 6069 バイト）"},
      {ShortTableName({"ダークテーブル(ステップ%1)", 3, 0, 1152}), "<EN>ダークテーブル(ステップ3)"},
      {CompareRefusalMessage(truncated, "a.trdata"),
       "<EN>a.trdata の末尾以降にアクセスしようとしました。\nat byte 12"},
      {Filled(Translated("計測中　経過時間 %1 sec"), {Padded(7, 2)}),
       "<EN>計測中　経過時間  7 sec"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.composed, c.expected);
}

}  // namespace
}  // namespace chromiva::acquisition
