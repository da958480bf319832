// The history dialog and the button that opens it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "chromiva/acquisition/dialogs/history_dialog.h"
#include "chromiva/acquisition/history.h"
#include "test_port.h"

namespace chromiva::acquisition::dialogs {
namespace {

using namespace history_ids;

class HistoryDialogTest : public ::testing::Test {
 protected:
  data::Ctintrose_mfDoc document;
  testing::TestPort port;
  int shown = 0;
  RunHistoryDialog count = [this](HistoryDialog&) { ++shown; };
};

TEST_F(HistoryDialogTest, AnEmptyHistoryShowsOnlyTheGuidanceLine) {
  EXPECT_FALSE(OpenHistoryDialog(document, port, count));
  EXPECT_EQ(shown, 0);
  EXPECT_EQ(port.messages, std::vector<std::string>{kEmpty});
}

TEST_F(HistoryDialogTest, SaveWritesTheStoredHistoryAndCloseTakesOverTheEdit) {
  document.operationLog = "a\r\nb\r\nc\r\n";
  const auto path = std::filesystem::temp_directory_path() / "chromiva_history_dialog.txt";
  port.saveFile = path.string();
  std::string shownText;
  ASSERT_TRUE(OpenHistoryDialog(document, port, [&](HistoryDialog& dialog) {
    shownText = dialog.controls().Text(kText);
    dialog.EditChanged("a\nb\nc\nnote\n");
    dialog.SaveClicked();
    EXPECT_TRUE(dialog.Close());
  }));
  EXPECT_EQ(port.messages, std::vector<std::string>{kShowing});
  EXPECT_EQ(shownText, "a\nb\nc\n");
  ASSERT_EQ(port.choices.size(), 1u);
  EXPECT_EQ(port.choices[0].filter, kFilter);
  EXPECT_EQ(port.choices[0].defaultExtension, kExtension);
  EXPECT_EQ(port.choices[0].initialName, kInitialName);
  std::ifstream in(path, std::ios::binary);
  std::stringstream saved;
  saved << in.rdbuf();
  EXPECT_EQ(saved.str(), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(document.operationLog, "a\r\nb\r\nc\r\nnote\r\n");
  EXPECT_TRUE(document.modified);
  std::filesystem::remove(path);
}

TEST_F(HistoryDialogTest, AnEditThatCannotBeStoredIsRefusedAndTheHistoryStays) {
  document.operationLog = "\x83\x6D\r\n";  // ノ
  OpenHistoryDialog(document, port, [](HistoryDialog& dialog) {
    EXPECT_EQ(dialog.controls().Text(kText), "ノ\n");
    dialog.EditChanged("ノ \xF0\x9F\x98\x80\n");
    EXPECT_FALSE(dialog.Close());
  });
  EXPECT_EQ(port.okMessages, std::vector<std::string>{kHistoryEditRefusal});
  EXPECT_EQ(document.operationLog, "\x83\x6D\r\n");
  EXPECT_FALSE(document.modified);
}

TEST_F(HistoryDialogTest, EnterEndsWithoutTakingOverTheEdit) {
  document.operationLog = "a\r\n";
  OpenHistoryDialog(document, port, [](HistoryDialog& dialog) {
    dialog.EditChanged("changed");
    dialog.Enter();
  });
  EXPECT_EQ(document.operationLog, "a\r\n");
  EXPECT_FALSE(document.modified);
}

}  // namespace
}  // namespace chromiva::acquisition::dialogs
