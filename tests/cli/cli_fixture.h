// Runs chromiva-cli in a folder of its own with simulated instruments and collects what it
// printed and its exit status. Its data folder (journals, recovery files) is folder/data.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace chromiva::cli::testing {

namespace fs = std::filesystem;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class CliTest : public ::testing::Test {
 protected:
  // Variables added to every run's environment, e.g. "WRENLINK_SIM_STATE=state ".
  virtual std::string ExtraEnvironment() const { return {}; }

  void SetUp() override {
    folder =
        fs::temp_directory_path() /
        ("chromiva_cli_" +
         std::string(::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name()) +
         "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  // The form's lines are Japanese whatever the machine's locale (LANGUAGE comes first).
  Outcome Run(const std::string& arguments, const std::string& instruments = "spectrometer") {
    std::string command = "cd '" + folder.string() + "' && WRENLINK_SIMULATOR='" + instruments +
                          "' WRENLINK_SIM_SPEED=100 XDG_DATA_HOME='" + (folder / "data").string() +
                          "' LANGUAGE=ja " + ExtraEnvironment() + "'" CHROMIVA_CLI "' " +
                          arguments + " >stdout.txt 2>stderr.txt";
    Outcome outcome;
    int raw = std::system(command.c_str());
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    outcome.out = ReadFile(folder / "stdout.txt");
    outcome.err = ReadFile(folder / "stderr.txt");
    return outcome;
  }

  fs::path folder;
};

}  // namespace chromiva::cli::testing
