// Feeds arbitrary bytes to the data file reader. A refused file must come with a message; an
// accepted one must store again, and storing what was loaded from that must give the same
// bytes.
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "chromiva/data/data_file.h"

namespace {

using chromiva::data::Ctintrose_mfDoc;

std::string StoreOrAbort(const Ctintrose_mfDoc& document) {
  std::ostringstream out(std::ios::binary);
  if (!chromiva::data::StoreDataFile(document, out).ok()) std::abort();
  return out.str();
}

void LoadOrAbort(Ctintrose_mfDoc& document, const std::string& bytes) {
  std::istringstream in(bytes, std::ios::binary);
  if (!chromiva::data::LoadDataFile(document, in).ok()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Documents are reused across inputs: constructing one reserves the whole record store.
  static auto* loaded = new Ctintrose_mfDoc;
  static auto* reloaded = new Ctintrose_mfDoc;
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size), std::ios::binary);
  const chromiva::data::DataFileResult result = chromiva::data::LoadDataFile(*loaded, in);
  if (!result.ok()) {
    if (result.message.empty()) std::abort();
    return 0;
  }
  const std::string stored = StoreOrAbort(*loaded);
  LoadOrAbort(*reloaded, stored);
  if (StoreOrAbort(*reloaded) != stored) std::abort();
  return 0;
}
