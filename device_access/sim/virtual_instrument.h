// A virtual instrument: parses the byte-coded requests as the real instrument does and keeps
// its own state. Every instrument answers the identity queries N (name), V (version) and K
// (kind); the rest belongs to each family.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace wrenlink::sim {

using Bytes = std::vector<std::uint8_t>;

class VirtualInstrument {
 public:
  VirtualInstrument(int kind, std::string name, std::string version);
  virtual ~VirtualInstrument() = default;
  VirtualInstrument(const VirtualInstrument&) = delete;
  VirtualInstrument& operator=(const VirtualInstrument&) = delete;

  int Kind() const { return kind_; }
  const std::string& Name() const { return name_; }

  // The reply to one request, or nothing when the instrument does not answer it.
  std::optional<Bytes> HandleRequest(std::span<const std::uint8_t> request);

  // The standard 18-byte USB device descriptor the instrument reports.
  std::array<std::uint8_t, 18> DeviceDescriptor() const;
  // How many times faster than nominal its exposures elapse (WRENLINK_SIM_SPEED for the
  // spectrometer; 1 for instruments that do not expose).
  virtual double ExposureSpeed() const { return 1.0; }

 protected:
  // Family-specific requests; nothing for a request the instrument does not know.
  virtual std::optional<Bytes> HandleCommand(std::span<const std::uint8_t> request);

  // A reply of `length` zero bytes, as setters acknowledge.
  static Bytes Acknowledge(std::size_t length) { return Bytes(length, 0); }

 private:
  int kind_;
  std::string name_;
  std::string version_;
};

// Little-endian helpers for the instruments' wire formats.
void AppendU16(Bytes& out, std::uint16_t value);
void AppendI32(Bytes& out, std::int32_t value);
void AppendF32(Bytes& out, float value);
std::int32_t ReadI32(const std::uint8_t* bytes);
float ReadF32(const std::uint8_t* bytes);
unsigned ReadU16(const std::uint8_t* bytes);

// Byte blobs kept across processes in WRENLINK_SIM_STATE, one file per key.
bool LoadPersistentState(const std::string& key, Bytes& blob);
void SavePersistentState(const std::string& key, const Bytes& blob);

}  // namespace wrenlink::sim
