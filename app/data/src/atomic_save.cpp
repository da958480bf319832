#include "chromiva/data/atomic_save.h"

#include "atomic_file.h"

namespace chromiva::data {

std::string SaveFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  detail::AtomicFileWriter file(path);
  if (!file.Open()) return file.error();
  file.stream().write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!file.Commit(false)) return file.error();
  return {};
}

}  // namespace chromiva::data
