#include "chromiva/data/user_folders.h"

#include <cstdlib>
#include <system_error>

namespace chromiva::data {

namespace {

std::optional<std::filesystem::path> Variable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::filesystem::path(value);
}

}  // namespace

std::optional<std::filesystem::path> UserDataFolder() {
  if (auto xdg = Variable("XDG_DATA_HOME"); xdg && xdg->is_absolute()) return *xdg / "chromiva";
  if (auto home = Variable("HOME")) return *home / ".local" / "share" / "chromiva";
  return std::nullopt;
}

std::optional<std::filesystem::path> TemporaryFolder() {
  std::error_code error;
  std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  if (error) return std::nullopt;
  return folder;
}

}  // namespace chromiva::data
