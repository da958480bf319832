#include "virtual_instrument.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace wrenlink::sim {

VirtualInstrument::VirtualInstrument(int kind, std::string name, std::string version)
    : kind_(kind), name_(std::move(name)), version_(std::move(version)) {}

std::optional<Bytes> VirtualInstrument::HandleRequest(std::span<const std::uint8_t> request) {
  if (request.size() == 2 && request[1] == 0x00) {
    switch (request[0]) {
      case 'N':
        return Bytes(name_.begin(), name_.end());
      case 'V':
        return Bytes(version_.begin(), version_.end());
      case 'K':
        return Bytes{static_cast<std::uint8_t>(kind_), 0, 0, 0};
      default:
        break;
    }
  }
  if (request.empty()) return std::nullopt;
  return HandleCommand(request);
}

std::optional<Bytes> VirtualInstrument::HandleCommand(std::span<const std::uint8_t>) {
  return std::nullopt;
}

std::array<std::uint8_t, 18> VirtualInstrument::DeviceDescriptor() const {
  // USB 2.0, vendor-specific class, 64-byte control endpoint, one configuration.
  const std::uint16_t vendor = 0x1209, product = 0x7700 + static_cast<std::uint16_t>(kind_);
  return {18,
          1,
          0x00,
          0x02,
          0xFF,
          0x00,
          0x00,
          64,
          static_cast<std::uint8_t>(vendor & 0xFF),
          static_cast<std::uint8_t>(vendor >> 8),
          static_cast<std::uint8_t>(product & 0xFF),
          static_cast<std::uint8_t>(product >> 8),
          0x00,
          0x01,
          1,
          2,
          3,
          1};
}

void AppendU16(Bytes& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void AppendI32(Bytes& out, std::int32_t value) {
  auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

void AppendF32(Bytes& out, float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  AppendI32(out, static_cast<std::int32_t>(bits));
}

std::int32_t ReadI32(const std::uint8_t* bytes) {
  std::uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
  return static_cast<std::int32_t>(bits);
}

float ReadF32(const std::uint8_t* bytes) {
  std::uint32_t bits = static_cast<std::uint32_t>(ReadI32(bytes));
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

unsigned ReadU16(const std::uint8_t* bytes) {
  return bytes[0] | (bytes[1] << 8);
}

namespace {

std::optional<std::filesystem::path> StateFile(const std::string& key) {
  const char* folder = std::getenv("WRENLINK_SIM_STATE");
  if (folder == nullptr || *folder == '\0' || key.empty()) return std::nullopt;
  std::string safe;
  for (char c : key) safe.push_back(std::isalnum(static_cast<unsigned char>(c)) ? c : '_');
  return std::filesystem::path(folder) / (safe + ".state");
}

}  // namespace

bool LoadPersistentState(const std::string& key, Bytes& blob) {
  auto file = StateFile(key);
  if (!file) return false;
  std::ifstream in(*file, std::ios::binary);
  if (!in) return false;
  blob.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

void SavePersistentState(const std::string& key, const Bytes& blob) {
  auto file = StateFile(key);
  if (!file) return;
  std::error_code error;
  std::filesystem::create_directories(file->parent_path(), error);
  // A name of its own per write, so that processes sharing the folder never meet in one
  // temporary file and a reader only ever sees a whole state (the rename is atomic).
  static std::atomic<unsigned> writes{0};
  std::filesystem::path temporary = *file;
  temporary += ".tmp." + std::to_string(::getpid()) + "." + std::to_string(writes.fetch_add(1));
  bool written = false;
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(blob.data()),
              static_cast<std::streamsize>(blob.size()));
    out.close();
    written = static_cast<bool>(out);
  }
  if (!written) {
    std::filesystem::remove(temporary, error);
    return;
  }
  std::filesystem::rename(temporary, *file, error);
  if (error) std::filesystem::remove(temporary, error);
}

}  // namespace wrenlink::sim
