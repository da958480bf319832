// The operation history: line format, the text-file export and the take-over of edits.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "chromiva/acquisition/history.h"

namespace chromiva::acquisition {
namespace {

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(History, LinesCarryLocalTimeACommaAndCrLf) {
  setenv("TZ", "UTC", 1);
  tzset();
  data::Ctintrose_mfDoc document;
  AppendLog(document, 1557497002, "センサー解除 ");
  EXPECT_EQ(document.operationLog, "2019/05/10 14:03:22,センサー解除 \r\n");
  EXPECT_TRUE(document.modified);
}

TEST(History, SavedFileHasCrLfLinesInCodePage932) {
  auto path = std::filesystem::path(::testing::TempDir()) / "chromiva_log.txt";
  std::string log = "2019/05/10 14:03:22,センサー検出 \r\nfree text\r\nlast\r\n";
  auto result = SaveHistoryText(log, path);
  ASSERT_TRUE(result.ok) << result.message;
  std::string bytes = ReadBytes(path);
  EXPECT_EQ(bytes.find("\xE3"), std::string::npos);                              // no UTF-8 left
  EXPECT_NE(bytes.find("\x83\x5A\x83\x93\x83\x54\x81\x5B"), std::string::npos);  // センサー
  int lines = 0;
  for (std::size_t at = bytes.find("\r\n"); at != std::string::npos;
       at = bytes.find("\r\n", at + 2)) {
    ++lines;
  }
  EXPECT_EQ(lines, 3);
  EXPECT_EQ(bytes.substr(bytes.size() - 6), "last\r\n");
  EXPECT_EQ(bytes.find("\r\r"), std::string::npos);
}

TEST(History, UnwritableFileOrUnconvertibleTextIsReported) {
  EXPECT_FALSE(SaveHistoryText("x\r\n", "/nonexistent-folder/log.txt").ok);
  auto path = std::filesystem::path(::testing::TempDir()) / "chromiva_emoji.txt";
  auto result = SaveHistoryText("\xF0\x9F\x98\x80\r\n", path);
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(result.message.empty());
}

TEST(History, EditsAreTakenOverOnlyWhenTheyDiffer) {
  data::Ctintrose_mfDoc document;
  document.operationLog = "a\r\nb\r\n";
  EXPECT_EQ(HistoryForEditing(document.operationLog), "a\nb\n");
  EXPECT_FALSE(TakeOverHistoryEdit(document, "a\nb\n"));
  EXPECT_FALSE(document.modified);
  EXPECT_TRUE(TakeOverHistoryEdit(document, "a\nnote\nb\n"));
  EXPECT_EQ(document.operationLog, "a\r\nnote\r\nb\r\n");
  EXPECT_TRUE(document.modified);
}

}  // namespace
}  // namespace chromiva::acquisition
