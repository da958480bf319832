#include "chromiva/data/recovery.h"

#include <unistd.h>

#include <atomic>
#include <ctime>
#include <system_error>

#include "chromiva/data/user_folders.h"
#include "data_file_parts.h"

namespace chromiva::data {

namespace {

// "chromiva-recovered-YYYYmmdd-HHMMSS-PID-N.cvdata": the process id and the counter keep it
// apart from every other run and every other save of this one.
std::filesystem::path FreeRecoveryName(const std::filesystem::path& folder) {
  static std::atomic<unsigned> counter{0};
  const std::string stamp = FormatLocalTime(std::time(nullptr), "%Y%m%d-%H%M%S");
  for (;;) {
    std::filesystem::path name =
        folder / ("chromiva-recovered-" + stamp + "-" + std::to_string(getpid()) + "-" +
                  std::to_string(counter.fetch_add(1)) + ".cvdata");
    std::error_code error;
    if (!std::filesystem::exists(name, error) || error) return name;
  }
}

}  // namespace

std::vector<std::filesystem::path> RecoveryFolders() {
  std::vector<std::filesystem::path> folders;
  if (auto temporary = TemporaryFolder()) folders.push_back(*temporary);
  if (auto own = UserDataFolder()) folders.push_back(*own);
  std::error_code error;
  std::filesystem::path current = std::filesystem::current_path(error);
  folders.push_back(error ? std::filesystem::path(".") : current);
  return folders;
}

RecoveryResult SaveRecoveryFile(const Ctintrose_mfDoc& document) {
  RecoveryResult result;
  if (!TemporaryFolder()) result.failures.push_back("no usable temporary folder");
  for (const std::filesystem::path& folder : RecoveryFolders()) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const std::filesystem::path path = FreeRecoveryName(folder);
    DataFileResult written = detail::WriteDataFile(document, path);
    if (written.ok()) {
      result.saved = path;
      return result;
    }
    result.failures.push_back(written.message);
  }
  return result;
}

}  // namespace chromiva::data
