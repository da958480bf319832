// The folders the program keeps its own files in.
#pragma once

#include <filesystem>
#include <optional>

namespace chromiva::data {

// The user's data folder: $XDG_DATA_HOME/chromiva, else ~/.local/share/chromiva; no value when
// neither variable names a place. The folder need not exist yet.
std::optional<std::filesystem::path> UserDataFolder();

// The system's temporary folder ($TMPDIR, else /tmp), when it is a folder.
std::optional<std::filesystem::path> TemporaryFolder();

}  // namespace chromiva::data
