// chromiva-cli plot: a PNG of the graph frame for a measured file, none for refused input.
#include <gtest/gtest.h>

#include <string>

#include "cli_fixture.h"

namespace {

using chromiva::cli::testing::ReadFile;
using Plot = chromiva::cli::testing::CliTest;

// Width and height from a PNG's header chunk.
std::pair<int, int> PngSize(const std::string& png) {
  if (png.size() < 24 || png.compare(1, 3, "PNG") != 0) return {0, 0};
  auto word = [&](std::size_t at) {
    int value = 0;
    for (std::size_t i = 0; i < 4; ++i)
      value = value * 256 + static_cast<unsigned char>(png[at + i]);
    return value;
  };
  return {word(16), word(20)};
}

TEST_F(Plot, DrawsTheFrameOfAMeasuredFile) {
  ASSERT_EQ(Run("measure --count 2 --exposure 2 -o run.cvdata", "spectrometer,spectrometer").status,
            0);
  auto plotted = Run("plot run.cvdata -o run.png --record 2 --sensor 1 --mode 1 --colour");
  ASSERT_EQ(plotted.status, 0) << plotted.err;
  EXPECT_EQ(PngSize(ReadFile(folder / "run.png")), std::make_pair(600, 563 - 35));
  ASSERT_EQ(Run("plot run.cvdata -o tall.png --height 800").status, 0);
  EXPECT_EQ(PngSize(ReadFile(folder / "tall.png")), std::make_pair(600, 765));
}

TEST_F(Plot, RefusesBadInputWithoutAPicture) {
  ASSERT_EQ(Run("measure --count 1 --exposure 2 -o run.cvdata").status, 0);
  std::ofstream(folder / "bad.cvdata") << "not a data file";
  const std::pair<const char*, int> cases[] = {
      {"plot bad.cvdata -o out.png", 2},
      {"plot run.cvdata -o out.png --record 2", 2},
      {"plot run.cvdata -o out.png --sensor 3", 2},
      {"plot run.cvdata -o out.png --graph-min 9000", 2},
      {"plot run.cvdata -o out.png --height 50", 2},
      {"plot run.cvdata", 2},
      {"plot run.cvdata -o run.cvdata", 2},
  };
  for (const auto& [arguments, status] : cases) {
    auto outcome = Run(arguments);
    EXPECT_EQ(outcome.status, status) << arguments;
    EXPECT_NE(outcome.err.find("chromiva-cli: "), std::string::npos) << arguments;
    EXPECT_FALSE(std::filesystem::exists(folder / "out.png")) << arguments;
  }
}

}  // namespace
