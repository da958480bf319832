// The operation history: line format, the text-file export and the take-over of edits.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "../scoped_env.h"
#include "chromiva/acquisition/history.h"
#include "chromiva/data/text_codec.h"

namespace chromiva::acquisition {
namespace {

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(History, LinesCarryLocalTimeACommaAndCrLf) {
  const chromiva::test::ScopedEnv tz("TZ", "UTC");
  data::Ctintrose_mfDoc document;
  AppendLog(document, 1557497002, "センサー解除 ");
  EXPECT_EQ(data::DisplayText(document.operationLog), "2019/05/10 14:03:22,センサー解除 \r\n");
  EXPECT_TRUE(document.modified);
}

TEST(History, LinesStoreCodePage932AndKeepSplicedSerialBytes) {
  data::Ctintrose_mfDoc document;
  AppendLog(document, 1557497002, "検出 ", "1:serial=\xB1\xFF");
  EXPECT_EQ(document.operationLog.substr(20), "\x8C\x9F\x8F\x6F 1:serial=\xB1\xFF\r\n");
}

TEST(History, SavedFileHasCrLfLinesInCodePage932) {
  auto path = std::filesystem::path(::testing::TempDir()) / "chromiva_log.txt";
  // Stored bytes: センサー, then bytes that code page 932 maps to nothing or twice.
  std::string log =
      "2019/05/10 "
      "14:03:22,\x83\x5A\x83\x93\x83\x54\x81\x5B\r\n\x80\xA0\xFD\x87\x90\xED\x40\r\nlast\r\n";
  auto result = SaveHistoryText(log, path);
  ASSERT_TRUE(result.ok) << result.message;
  std::string bytes = ReadBytes(path);
  EXPECT_EQ(bytes, log);
  int lines = 0;
  for (std::size_t at = bytes.find("\r\n"); at != std::string::npos;
       at = bytes.find("\r\n", at + 2)) {
    ++lines;
  }
  EXPECT_EQ(lines, 3);
  EXPECT_EQ(bytes.substr(bytes.size() - 6), "last\r\n");
  EXPECT_EQ(bytes.find("\r\r"), std::string::npos);
}

TEST(History, UnwritableFileIsReportedByName) {
  auto result = SaveHistoryText("x\r\n", "/nonexistent-folder/log.txt");
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.message.find("/nonexistent-folder/log.txt: No such file"), std::string::npos);
}

TEST(History, EditsAreTakenOverOnlyWhenTheyDiffer) {
  data::Ctintrose_mfDoc document;
  document.operationLog = "a\r\nb\r\n";
  EXPECT_EQ(HistoryForEditing(document.operationLog), "a\nb\n");
  EXPECT_EQ(TakeOverHistoryEdit(document, "a\nb\n"), HistoryEdit::kUnchanged);
  EXPECT_FALSE(document.modified);
  EXPECT_EQ(TakeOverHistoryEdit(document, "a\nノート\nb\n"), HistoryEdit::kTakenOver);
  EXPECT_EQ(document.operationLog, "a\r\n\x83\x6D\x81\x5B\x83\x67\r\nb\r\n");
  EXPECT_TRUE(document.modified);
}

TEST(History, UnchangedEditKeepsBytesThatShowAlike) {
  data::Ctintrose_mfDoc document;
  document.operationLog = "\x87\x90\xFF\r\n";  // NEC ≒ and a byte without a character
  EXPECT_EQ(TakeOverHistoryEdit(document, HistoryForEditing(document.operationLog)),
            HistoryEdit::kUnchanged);
  EXPECT_EQ(document.operationLog, "\x87\x90\xFF\r\n");
}

TEST(History, EditThatCodePage932CannotHoldIsRefused) {
  data::Ctintrose_mfDoc document;
  document.operationLog = "a\r\n";
  EXPECT_EQ(TakeOverHistoryEdit(document, "a \xF0\x9F\x98\x80\n"), HistoryEdit::kRefused);
  EXPECT_EQ(document.operationLog, "a\r\n");
  EXPECT_FALSE(document.modified);
}

}  // namespace
}  // namespace chromiva::acquisition
