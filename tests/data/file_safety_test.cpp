// Saving and opening data files in the situations that lose or corrupt data when handled
// naively: links, long names, killed saves, things that are not files, failed saves.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "../scoped_env.h"
#include "atomic_file.h"
#include "chromiva/data/recovery.h"
#include "chromiva/data/text_codec.h"
#include "test_support.h"

namespace chromiva::data {
namespace {

using test::AddSensor;
using test::NewDocument;

TEST(DisplayText, DecodesWhatItCanAndShowsAStandInForTheRest) {
  const std::pair<std::string, std::string> cases[] = {
      {"SP\xB1\xB2", "SPｱｲ"},
      {"\x87\x90\xED\x40", "≒纊"},
      {"a\x80\xA0\xFD\xFF", "a\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"\x81", "\uFFFD"},  // a lead byte at the end
  };
  for (const auto& [bytes, shown] : cases) EXPECT_EQ(DisplayText(bytes), shown);
}

using FileSafety = test::TempDirTest;

TEST_F(FileSafety, OnlyRegularFilesAreOpened) {
  ASSERT_EQ(::mkfifo((dir_ / "fifo").c_str(), 0600), 0);
  std::filesystem::create_symlink("loop", dir_ / "loop");
  const std::pair<std::filesystem::path, std::string> cases[] = {
      {dir_ / "fifo", "not a regular file"},
      {"/dev/zero", "not a regular file"},
      {dir_, "not a regular file"},
      {dir_ / "loop", "Too many levels of symbolic links"},
      {dir_ / std::string(300, 'x'), "File name too long"},
      {dir_ / "absent", "No such file"},
  };
  for (const auto& [path, reason] : cases) {
    auto doc = NewDocument();
    const DataFileResult result = OpenDataFile(*doc, path);
    EXPECT_EQ(result.error, DataFileError::kOpenFailed) << path;
    EXPECT_EQ(result.message.rfind(path.string() + ": ", 0), 0u) << result.message;
    EXPECT_NE(result.message.find(reason), std::string::npos) << result.message;
  }
}

TEST_F(FileSafety, SavingOntoALinkReplacesTheFileItNames) {
  auto doc = NewDocument();
  ASSERT_TRUE(SaveDataFile(*doc, dir_ / "real.cvdata").ok());
  std::filesystem::create_symlink("real.cvdata", dir_ / "link.cvdata");
  AddSensor(*doc, "NEW");
  ASSERT_TRUE(SaveDataFile(*doc, dir_ / "link.cvdata").ok());
  EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "link.cvdata"));
  auto reread = NewDocument();
  ASSERT_TRUE(OpenDataFile(*reread, dir_ / "real.cvdata").ok());
  EXPECT_EQ(reread->Sensor(0).serialNo, "NEW");
  EXPECT_EQ(FilesInDir(), 2u);
}

TEST_F(FileSafety, ALongestLegalNameCanBeSaved) {
  auto doc = NewDocument();
  const auto path = dir_ / (std::string(248, 'n') + ".cvd");  // 252 characters
  ASSERT_TRUE(SaveDataFile(*doc, path).ok()) << SaveDataFile(*doc, path).message;
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(FileSafety, TemporariesOfDeadProcessesGoAtTheNextSave) {
  pid_t dead = ::fork();
  if (dead == 0) ::_exit(0);
  ASSERT_GT(dead, 0);
  ::waitpid(dead, nullptr, 0);
  const std::string deadName = ".run.cvdata.tmp-" + std::to_string(dead) + "-0";
  const std::string liveName = ".run.cvdata.tmp-1-0";  // process 1 lives
  const std::string otherName = ".notes.tmp-x";
  for (const std::string& name : {deadName, liveName, otherName}) std::ofstream(dir_ / name) << "x";
  auto doc = NewDocument();
  ASSERT_TRUE(SaveDataFile(*doc, dir_ / "run.cvdata").ok());
  EXPECT_FALSE(std::filesystem::exists(dir_ / deadName));
  EXPECT_TRUE(std::filesystem::exists(dir_ / liveName));
  EXPECT_TRUE(std::filesystem::exists(dir_ / otherName));
}

TEST_F(FileSafety, AFailedSaveNamesTheTargetAndTheReason) {
  auto doc = NewDocument();
  const auto path = dir_ / "no" / "x.cvdata";
  const DataFileResult result = SaveDataFile(*doc, path);
  EXPECT_EQ(result.message, "cannot create " + path.string() + ": No such file or directory");
}

TEST_F(FileSafety, RecoveryFilesTakeTheFirstUsablePlaceUnderNamesOfTheirOwn) {
  const chromiva::test::ScopedEnv tmp("TMPDIR", "/nonexistent");
  const chromiva::test::ScopedEnv dataHome("XDG_DATA_HOME", dir_.c_str());
  auto doc = NewDocument();
  AddSensor(*doc, "\xB1\xFF");
  doc->title = "run";
  const RecoveryResult first = SaveRecoveryFile(*doc);
  const RecoveryResult second = SaveRecoveryFile(*doc);
  ASSERT_TRUE(first.ok() && second.ok());
  EXPECT_EQ(first.saved.parent_path(), dir_ / "chromiva");
  EXPECT_NE(first.saved, second.saved);
  EXPECT_EQ(first.failures.size(), 1u);  // the temporary folder
  EXPECT_EQ(doc->title, "run");
  auto reread = NewDocument();
  ASSERT_TRUE(OpenDataFile(*reread, first.saved).ok());
  EXPECT_EQ(reread->Sensor(0).serialNo, "\xB1\xFF");
}

}  // namespace
}  // namespace chromiva::data
