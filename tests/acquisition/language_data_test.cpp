// Data never changes with the window's language: the same scripted run, once with the Japanese
// source texts and once with every shown text translated, writes the same data file, CSV and
// operation history.
#include <fstream>
#include <iterator>
#include <sstream>

#include "chromiva/acquisition/texts.h"
#include "chromiva/data/csv.h"
#include "chromiva/data/data_file.h"
#include "simulator_fixture.h"

namespace chromiva::acquisition::testing {
namespace {

// Every text the window would show comes back changed, so one that leaked into data shows.
std::string Marked(const char* source) {
  return std::string("[en] ") + source;
}

struct RunOutput {
  std::string dataFile;
  std::string csv;
  std::string history;
};

class LanguageData : public SimulatorTest {
 protected:
  void TearDown() override {
    SetTextLookup(nullptr);
    SimulatorTest::TearDown();
  }

  RunOutput ScriptedRun(const std::filesystem::path& file) {
    data::Ctintrose_mfDoc doc;
    TestPort shown;
    FormLogic logic(doc, shown);
    logic.OnControlClicked(control::kDetect);
    logic.OnControlClicked(control::kRecordMode);
    for (int pass = 0; pass < 3; ++pass) {
      logic.OnControlClicked(control::kOneShot);
      shown.RunTimers(logic);
    }
    logic.OnControlClicked(control::kSkyBgd);
    logic.OnControlClicked(control::kSkyBgd);
    logic.OnControlClicked(control::kDetect);  // release
    RunOutput output;
    output.history = doc.operationLog;
    data::ProcessingState state = logic.processing();
    std::ostringstream csv;
    data::WriteCsv(doc, state, data::CsvSettings{}, 0, {0, doc.recordCount[0]}, csv);
    output.csv = csv.str();
    EXPECT_TRUE(data::SaveDataFile(doc, file).ok());
    std::ifstream in(file, std::ios::binary);
    output.dataFile.assign(std::istreambuf_iterator<char>(in), {});
    for (int index = 0; index < 10; ++index) CloseDevice(index);
    return output;
  }
};

TEST_F(LanguageData, TheSameRunWritesTheSameBytesInEitherLanguage) {
  const auto folder = std::filesystem::temp_directory_path() / "chromiva-language-data";
  std::filesystem::create_directories(folder);
  std::filesystem::create_directories(folder / "en");
  // Two simulated instruments that answer alike: the second is the first's twin, new and with its
  // noise from the start again (the default exposure named makes it another device).
  Plug("spectrometer");
  const RunOutput japanese = ScriptedRun(folder / "run.cvdata");
  Plug("spectrometer:exposure=100000");
  SetTextLookup(&Marked);
  const RunOutput translated = ScriptedRun(folder / "en" / "run.cvdata");
  std::filesystem::remove_all(folder);
  ASSERT_GT(japanese.csv.size(), 0u);
  ASSERT_NE(japanese.history.find("SkyBGD"), std::string::npos);
  EXPECT_EQ(translated.history, japanese.history);
  EXPECT_EQ(translated.csv, japanese.csv);
  EXPECT_TRUE(translated.dataFile == japanese.dataFile);  // binary: no dump
}

}  // namespace
}  // namespace chromiva::acquisition::testing
