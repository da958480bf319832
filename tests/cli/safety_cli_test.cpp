// chromiva-cli with instrument texts that code page 932 cannot show, bad inputs, failed saves
// and recordings killed half-way.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <set>
#include <thread>

#include "chromiva/data/data_file.h"
#include "chromiva/data/journal.h"
#include "cli_fixture.h"

namespace chromiva::cli::testing {
namespace {

class SafetyCli : public CliTest {
 protected:
  std::string ExtraEnvironment() const override { return environment; }
  std::set<std::string> Files() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
      names.insert(entry.path().filename().string());
    }
    names.erase("stdout.txt");
    names.erase("stderr.txt");
    return names;
  }
  std::string environment;
};

int CountLines(const std::string& text, const std::string& start) {
  int count = 0;
  for (std::size_t at = 0; (at = text.find("\n" + start, at)) != std::string::npos; ++at) ++count;
  return count + (text.rfind(start, 0) == 0 ? 1 : 0);
}

TEST_F(SafetyCli, SerialsBeyondAsciiAreMeasuredAndSavedByteForByte) {
  const std::pair<std::string, std::string> cases[] = {
      {"SP\xB1\xB2\xB3"
       "001",
       "SPｱｲｳ001"},
      {std::string(8, '\xFF'), "\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
  };
  for (const auto& [serial, shown] : cases) {
    auto measured =
        Run("measure --count 2 --exposure 1 -o a.cvdata", "spectrometer:serial=" + serial);
    ASSERT_EQ(measured.status, 0) << measured.err;
    EXPECT_NE(ReadFile(folder / "a.cvdata").find("\x08" + serial), std::string::npos);
    auto info = Run("info a.cvdata --json");
    EXPECT_NE(info.out.find("\"serialNo\":\"" + shown + "\""), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("serial=" + shown), std::string::npos);          // the history line
    EXPECT_EQ(Run("export a.cvdata -o a.csv --sensor " + shown).status, 0);  // as shown
  }
}

TEST_F(SafetyCli, BadInputEndsInAMessageAndExitTwoWithNothingLost) {
  ASSERT_EQ(Run("measure --count 1 --exposure 1 -o a.cvdata").status, 0);
  const std::string before = ReadFile(folder / "a.cvdata");
  ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
  fs::create_symlink("loop", folder / "loop");
  const auto files = Files();
  const std::pair<std::string, std::string> cases[] = {
      {"export a.cvdata -o a.cvdata", "is the input file"},
      {"export a.cvdata -o ./a.cvdata --target 2", "is the input file"},
      {"resave a.cvdata a.cvdata", "is the input file"},
      {"export a.cvdata -o b.csv --step 2147483647", "option --step"},
      {"export a.cvdata -o b.csv --first 99999999999", "option --first"},
      {"info fifo", "fifo: not a regular file"},
      {"info /dev/zero", "not a regular file"},
      {"info loop", "Too many levels of symbolic links"},
      {"info " + std::string(300, 'x'), "File name too long"},
      {"resave a.cvdata " + std::string(300, 'x'), "File name too long"},
      {"resave a.cvdata missing/b.cvdata", "cannot create missing/b.cvdata: No such file"},
  };
  for (const auto& [arguments, message] : cases) {
    const Outcome outcome = Run(arguments);
    EXPECT_EQ(outcome.status, 2) << arguments;
    EXPECT_NE(outcome.err.find(message), std::string::npos) << arguments << ": " << outcome.err;
    EXPECT_EQ(ReadFile(folder / "a.cvdata"), before) << arguments;
    EXPECT_EQ(Files(), files) << arguments;
  }
}

TEST_F(SafetyCli, AFailedSaveGoesToARecoveryFileAndSaysWhere) {
  environment = "TMPDIR=/nonexistent ";
  const Outcome outcome = Run("measure --count 2 --exposure 1 -o missing/a.cvdata");
  EXPECT_EQ(outcome.status, 2);
  EXPECT_NE(outcome.err.find("cannot create missing/a.cvdata: No such file"), std::string::npos);
  const std::string said = "saved to " + (folder / "data" / "chromiva").string() + "/";
  const std::size_t at = outcome.err.find(said);
  ASSERT_NE(at, std::string::npos) << outcome.err;
  const std::string path = outcome.err.substr(at + 9, outcome.err.find(' ', at + 9) - at - 9);
  data::Ctintrose_mfDoc recovered;
  ASSERT_TRUE(data::OpenDataFile(recovered, path).ok()) << path;
  EXPECT_EQ(recovered.recordCount[0], 2);
  EXPECT_EQ(Run("recover --list").status, 1);  // the records are safe: no journal left
}

// Starts `arguments` in the background with the simulator; returns its process id.
pid_t Start(const fs::path& folder, const std::string& arguments) {
  const pid_t child = ::fork();
  if (child == 0) {
    ::chdir(folder.c_str());
    ::setenv("WRENLINK_SIMULATOR", "spectrometer,spectrometer", 1);
    ::setenv("WRENLINK_SIM_SPEED", "100", 1);
    ::setenv("WRENLINK_TRACE", (folder / "trace.txt").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
    ::execl("/bin/sh", "sh", "-c",
            ("exec '" CHROMIVA_CLI "' " + arguments + " >/dev/null 2>&1").c_str(),
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  return child;
}

// A command that removes or replaces a file first checks it against every other file it
// names: a data file is no journal to discard, and no output may be an input or another output.
TEST_F(SafetyCli, CommandsThatRemoveOrReplaceAFileKnowWhatItIs) {
  ASSERT_EQ(Run("measure --count 2 --exposure 1 -o a.cvdata").status, 0);
  fs::path journal;
  {
    data::Ctintrose_mfDoc document;
    ASSERT_TRUE(data::OpenDataFile(document, folder / "a.cvdata").ok());
    data::RecordJournal writer(folder / "journals");
    ASSERT_TRUE(writer.AppendCommittedPasses(document));
    journal = writer.path();
  }  // left unfinished
  fs::create_symlink(journal, folder / "link.cvdata");
  const std::string dataBefore = ReadFile(folder / "a.cvdata");
  const std::string journalBefore = ReadFile(journal);
  const auto files = Files();
  const std::pair<std::string, std::string> cases[] = {
      {"recover a.cvdata --discard", "not a journal"},
      {"recover " + journal.string() + " -o " + journal.string(), "is the input file"},
      {"recover " + journal.string() + " -o link.cvdata", "is the input file"},
      {"measure --count 1 --exposure 1 -o m.cvdata --csv m.cvdata", "is the data file"},
      {"measure --count 1 --exposure 1 -o m.cvdata --csv ./sub/../m.cvdata", "is the data file"},
  };
  fs::create_directory(folder / "sub");
  for (const auto& [arguments, message] : cases) {
    const Outcome outcome = Run(arguments);
    EXPECT_EQ(outcome.status, 2) << arguments;
    EXPECT_NE(outcome.err.find(message), std::string::npos) << arguments << ": " << outcome.err;
    EXPECT_EQ(ReadFile(folder / "a.cvdata"), dataBefore) << arguments;
    EXPECT_EQ(ReadFile(journal), journalBefore) << arguments;
    auto now = Files();
    now.erase("sub");
    EXPECT_EQ(now, files) << arguments;
  }
  // Two runs with the same -o: the one that ends last does not replace the other's records.
  fs::create_directory(folder / "tmp");
  const std::string first = "cd '" + folder.string() +
                            "' && { WRENLINK_SIMULATOR=spectrometer WRENLINK_SIM_SPEED=100 "
                            "XDG_DATA_HOME=data TMPDIR=tmp '" CHROMIVA_CLI
                            "' measure --exposure 1 -o x.cvdata >/dev/null 2>first.txt & "
                            "echo $! >first.pid; }";
  ASSERT_EQ(std::system(first.c_str()), 0);
  const fs::path journals = folder / "data" / "chromiva" / "journals";
  for (int wait = 0; wait < 200 && (!fs::exists(journals) || fs::is_empty(journals)); ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // until it records
  }
  ASSERT_EQ(Run("measure --count 1 --exposure 1 -o x.cvdata").status, 0);
  const pid_t running = std::stoi(ReadFile(folder / "first.pid"));
  ::kill(running, SIGTERM);  // a background job of sh ignores SIGINT
  auto ended = [&] {         // gone, or a zombie that nobody reaps
    const std::string stat = ReadFile("/proc/" + std::to_string(running) + "/stat");
    return stat.empty() || stat.find(") Z ") != std::string::npos;
  };
  for (int wait = 0; wait < 100 && !ended(); ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  data::Ctintrose_mfDoc kept;
  ASSERT_TRUE(data::OpenDataFile(kept, folder / "x.cvdata").ok());
  EXPECT_EQ(kept.recordCount[0], 1);  // the second run's
  EXPECT_NE(ReadFile(folder / "first.txt").find("written by another program"), std::string::npos)
      << ReadFile(folder / "first.txt");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder / "tmp"), fs::directory_iterator()), 1);
}

// Killed at random moments, a recording leaves a journal that gives every pass finished on
// the wire a second before the kill, never more passes than the wire saw, never a bad file.
TEST_F(SafetyCli, ARecordingKilledAtRandomMomentsIsRecovered) {
  std::mt19937 random(20261207);
  std::uniform_int_distribution<int> delayMs(100, 1500);
  for (int kill = 0; kill < 20; ++kill) {
    fs::remove(folder / "trace.txt");
    const pid_t child = Start(folder, "measure --count 50000 --exposure 1 -o never.cvdata");
    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs(random)));
    // The second sensor's temperature reply ends a pass on the wire.
    const int finishedBefore = CountLines(ReadFile(folder / "trace.txt"), "IN 1 2 ");
    std::this_thread::sleep_for(std::chrono::seconds(1));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    const int finishedAtKill = CountLines(ReadFile(folder / "trace.txt"), "IN 1 2 ");
    fs::remove(folder / "r.cvdata");
    const Outcome recovered = Run("recover -o r.cvdata");
    if (finishedBefore > 0) {
      ASSERT_EQ(recovered.status, 0) << recovered.err;
    }
    if (recovered.status != 0) continue;  // killed before the first pass was committed
    data::Ctintrose_mfDoc document;
    ASSERT_TRUE(data::OpenDataFile(document, folder / "r.cvdata").ok()) << kill;
    EXPECT_GE(document.recordCount[0], finishedBefore) << kill;
    EXPECT_LE(document.recordCount[0], finishedAtKill) << kill;
    EXPECT_EQ(document.recordCount[1], document.recordCount[0]) << kill;
    EXPECT_EQ(Run("recover --list").status, 1);
  }
  EXPECT_FALSE(fs::exists(folder / "never.cvdata"));
}

}  // namespace
}  // namespace chromiva::cli::testing
