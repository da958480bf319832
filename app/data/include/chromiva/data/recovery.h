// Keeping the records of a save that failed.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "chromiva/data/document.h"

namespace chromiva::data {

struct RecoveryResult {
  std::filesystem::path saved;        // where the records went; empty when every place failed
  std::vector<std::string> failures;  // each place tried in vain, with the system's reason
  bool ok() const { return !saved.empty(); }
};

// The places tried, in order: the temporary folder, the user's data folder, the current folder.
std::vector<std::filesystem::path> RecoveryFolders();

// Writes the document, texts with their stored bytes, to a new file
// "chromiva-recovered-YYYYmmdd-HHMMSS-PID-N.cvdata" in the first of RecoveryFolders() that
// takes it. The document itself (title, modified flag) is unchanged, so that the caller can
// offer to save it again.
RecoveryResult SaveRecoveryFile(const Ctintrose_mfDoc& document);

}  // namespace chromiva::data
