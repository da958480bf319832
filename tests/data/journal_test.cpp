// The recording journal: what it gives back, and what it gives back when its end is torn.
#include <gtest/gtest.h>

#include "chromiva/data/journal.h"
#include "test_support.h"

namespace chromiva::data {
namespace {

using test::AddRecords;
using test::AddSensor;
using test::NewDocument;
using test::Store;

class Journal : public test::TempDirTest {
 protected:
  // Commits `passes` more passes of both sensors and journals each one.
  void Record(Ctintrose_mfDoc& doc, RecordJournal& journal, int passes) {
    for (int i = 0; i < passes; ++i) {
      for (int k = 0; k < doc.sensorTable.sensorCount; ++k) AddRecords(doc, k, 1);
      doc.RecordTime(doc.recordCount[0] - 1) = 1557464602 + doc.recordCount[0];
      ASSERT_TRUE(journal.AppendCommittedPasses(doc)) << journal.error();
    }
  }

  std::unique_ptr<Ctintrose_mfDoc> TwoSensors() {
    auto doc = NewDocument();
    AddSensor(*doc, "SP\xB1\xFF");
    AddSensor(*doc, "B", 200);
    doc->operationLog = "\x8C\x9F\x8F\x6F\r\n";
    return doc;
  }

  JournalRecovery Recover(Ctintrose_mfDoc& into, const std::filesystem::path& path) {
    return RecoverJournal(path, into);
  }
};

TEST_F(Journal, GivesBackTheTableTheRecordsAndTheirTimes) {
  auto doc = TwoSensors();
  std::filesystem::path path;
  {
    RecordJournal journal(dir_);
    Record(*doc, journal, 3);
    doc->Sensor(0).exposureUs = 5000;  // changed between passes: the newer table is kept
    doc->operationLog += "next\r\n";
    Record(*doc, journal, 2);
    path = journal.path();
  }  // ended without a save
  auto recovered = NewDocument();
  const JournalRecovery recovery = Recover(*recovered, path);
  ASSERT_TRUE(recovery.result.ok()) << recovery.result.message;
  EXPECT_EQ(recovery.passes, 5);
  EXPECT_FALSE(recovery.tornTail);
  EXPECT_EQ(Store(*recovered), Store(*doc));
  EXPECT_EQ(recovered->RecordTime(4), doc->RecordTime(4));
}

TEST_F(Journal, ATornOrDamagedLastEntryIsDroppedAndEverythingBeforeKept) {
  auto doc = TwoSensors();
  std::filesystem::path path;
  std::uintmax_t twoPasses = 0;
  {
    RecordJournal journal(dir_);
    Record(*doc, journal, 2);
    twoPasses = std::filesystem::file_size(journal.path());
    Record(*doc, journal, 1);
    path = journal.path();
  }
  const std::string whole = test::ReadBytes(path);
  std::vector<std::size_t> cuts;
  for (std::size_t cut = twoPasses; cut < whole.size(); cut += 997) cuts.push_back(cut);
  cuts.push_back(whole.size() - 1);
  for (std::size_t cut : cuts) {
    test::WriteBytes(path, whole.substr(0, cut));
    auto recovered = NewDocument();
    const JournalRecovery recovery = Recover(*recovered, path);
    ASSERT_TRUE(recovery.result.ok()) << cut;
    EXPECT_EQ(recovery.passes, 2) << cut;
    EXPECT_EQ(recovery.tornTail, cut != twoPasses) << cut;
    EXPECT_EQ(recovered->recordCount[1], 2) << cut;
  }
  // A flipped payload bit, and length fields beyond the bytes left (read before anything is
  // allocated for them): the passes before the damage come back.
  const struct {
    std::size_t at;
    std::string bytes;
  } damages[] = {{twoPasses + 100, std::string(1, static_cast<char>(whole[twoPasses + 100] ^ 1))},
                 {twoPasses, std::string("\xF0\xFF\xFF\x3F", 4)},
                 {twoPasses, std::string("\xFF\xFF\xFF\xFF", 4)},
                 {twoPasses, std::string("\x00\x00\x01\x00", 4)}};
  for (const auto& damage : damages) {
    std::string damaged = whole;
    damaged.replace(damage.at, damage.bytes.size(), damage.bytes);
    test::WriteBytes(path, damaged);
    auto recovered = NewDocument();
    const JournalRecovery recovery = Recover(*recovered, path);
    EXPECT_TRUE(recovery.result.ok()) << damage.at;
    EXPECT_EQ(recovery.passes, 2) << damage.at;
    EXPECT_TRUE(recovery.tornTail) << damage.at;
  }
}

TEST_F(Journal, ASaveOrClearEndsItAndARunningOneIsNotTouched) {
  auto doc = TwoSensors();
  RecordJournal journal(dir_);
  Record(*doc, journal, 1);
  const std::filesystem::path first = journal.path();
  ASSERT_EQ(ListJournals(dir_).size(), 1u);
  EXPECT_TRUE(ListJournals(dir_)[0].inUse);
  auto reader = NewDocument();
  EXPECT_NE(Recover(*reader, first).result.message.find("in use"), std::string::npos);
  EXPECT_FALSE(DiscardJournal(first).ok());
  doc->ClearRecords();
  journal.Finish();  // as a data clear does
  EXPECT_FALSE(std::filesystem::exists(first));
  Record(*doc, journal, 1);
  EXPECT_NE(journal.path(), first);
  journal.Finish();  // as a save does
  EXPECT_TRUE(ListJournals(dir_).empty());
}

TEST_F(Journal, AnUnfinishedJournalIsListedAndCanBeDiscarded) {
  std::filesystem::path path;
  {
    auto doc = TwoSensors();
    RecordJournal journal(dir_);
    Record(*doc, journal, 1);
    path = journal.path();
  }  // as when the program ends without a save
  const auto journals = ListJournals(dir_);
  ASSERT_EQ(journals.size(), 1u);
  EXPECT_FALSE(journals[0].inUse);
  const std::filesystem::path other = dir_ / "precious.cvdata";  // no journal header
  test::WriteBytes(other, "CVDATA");
  EXPECT_NE(DiscardJournal(other).message.find("not a journal"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(other));
  EXPECT_TRUE(DiscardJournal(path).ok());
  EXPECT_TRUE(ListJournals(dir_).empty());
}

}  // namespace
}  // namespace chromiva::data
