// chromiva-cli's --language: the form's lines follow it, data never does.
#include <gtest/gtest.h>

#include <regex>

#include "chromiva/data/data_file.h"
#include "cli_fixture.h"

#ifdef CHROMIVA_HAVE_PLOT
#include "chromiva/acquisition/texts.h"
#include "language.h"
#endif

namespace {

using chromiva::cli::testing::Outcome;
using chromiva::cli::testing::ReadFile;
namespace data = chromiva::data;

class LanguageCli : public chromiva::cli::testing::CliTest {
 protected:
  std::string ExtraEnvironment() const override { return environment; }

  // The data file as saved again with the clock's traces (history time stamps, the simulated
  // temperature, which drifts with the time of day) set to fixed values.
  std::string WithoutClock(const std::string& name) {
    data::Ctintrose_mfDoc document;
    EXPECT_TRUE(data::OpenDataFile(document, folder / name).ok()) << name;
    document.operationLog = std::regex_replace(
        document.operationLog, std::regex(R"(\d{4}/\d\d/\d\d \d\d:\d\d:\d\d)"), "TIME");
    for (int k = 0; k < document.sensorTable.sensorCount; ++k) {
      for (int r = 0; r < document.recordCount[k]; ++r) document.Record(k, r).recordTemperature = 0;
    }
    EXPECT_TRUE(data::SaveDataFile(document, folder / ("clockless-" + name)).ok());
    return ReadFile(folder / ("clockless-" + name));
  }

  std::string environment;
};

// A run that ends in a fault writes guidance, the fault and the history: the data file holds
// the same bytes in both languages, its history in Japanese.
TEST_F(LanguageCli, DataFilesAreTheSameInBothLanguages) {
  environment = "WRENLINK_TIMEOUT_MS=500 ";
  for (const char* language : {"ja", "en"}) {
    const Outcome run =
        Run(std::string("--language ") + language + " measure --count 5 -o " + language + ".cvdata",
            "spectrometer:noreply=330");
    EXPECT_EQ(run.status, 3) << language << run.err;
  }
  const std::string japanese = WithoutClock("ja.cvdata");
  EXPECT_NE(japanese.find("\x82\xC5\x8C\x76\x91\xAA"), std::string::npos);  // "で計測" in cp932
  EXPECT_EQ(WithoutClock("en.cvdata"), japanese);
  EXPECT_EQ(Run("--language de devices").status, 2);
}

#ifdef CHROMIVA_HAVE_PLOT
// The English catalogue's line, chosen by --language or by the environment; --language wins.
TEST_F(LanguageCli, GuidanceLinesFollowTheChosenLanguage) {
  const char* source = "停止ボタンを押すことで計測を停止します";
  ASSERT_TRUE(chromiva::ui::UseLanguage(chromiva::ui::Language::kEnglish));
  const std::string english = chromiva::acquisition::Translated(source);
  chromiva::ui::UseLanguage(chromiva::ui::Language::kJapanese);
  if (english == source) GTEST_SKIP() << "the English catalogue has no text for: " << source;
  const struct {
    const char* environment;
    const char* option;
    std::string line;
  } cases[] = {{"", "--language en ", english},
               {"LANGUAGE=en_GB ", "", english},
               {"LANGUAGE=en_GB ", "--language ja ", source},
               {"LANGUAGE= LC_ALL=C ", "", source}};
  for (const auto& c : cases) {
    environment = c.environment;
    const Outcome run = Run(std::string(c.option) + "measure --count 1 -o run.cvdata");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find(c.line + "\n"), std::string::npos)
        << c.environment << c.option << run.err;
  }
}
#endif

}  // namespace
