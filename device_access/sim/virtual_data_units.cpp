#include "virtual_data_units.h"

#include <algorithm>

namespace wrenlink::sim {
namespace {

constexpr std::size_t kGChannels = 32;
constexpr std::uint16_t kOneG = 16384;
constexpr std::uint16_t kTemperatureRaw = 3950;  // (3950 - 4000) / 100 + 25 = 24.5 C
constexpr std::uint16_t kSupplyRaw = 52800;      // 52800 x 4.096 / 65536 = 3.3 V
constexpr std::uint16_t kSupplyStepRaw = 1000;
constexpr std::size_t kDroneRecordBytes = 3024;
constexpr std::int16_t kDefaultFirstReading = 1000;

bool IsRequest(std::span<const std::uint8_t> request, std::uint8_t letter, std::uint8_t parameter,
               std::size_t size) {
  return request.size() == size && request[0] == letter && request[1] == parameter;
}

std::uint16_t GChannel(std::size_t position) {
  if (position == 2) return kOneG;
  if (position == 3) return kTemperatureRaw;
  if (position < 8) return 0;
  return static_cast<std::uint16_t>(kSupplyRaw - (position - 8) * kSupplyStepRaw);
}

}  // namespace

std::optional<Bytes> VirtualGSensor::HandleCommand(std::span<const std::uint8_t> request) {
  if (!IsRequest(request, 'D', 0x00, 2)) return std::nullopt;
  Bytes reply;
  for (std::size_t position = 0; position < kGChannels; ++position) {
    AppendU16(reply, GChannel(position));
  }
  return reply;
}

VirtualSParameterUnit::VirtualSParameterUnit() : VirtualInstrument(25, "SPARAM", "1.00") {
  parameters_[0] = static_cast<std::uint8_t>(kDefaultFirstReading & 0xFF);
  parameters_[1] = static_cast<std::uint8_t>(kDefaultFirstReading >> 8);
}

std::optional<Bytes> VirtualSParameterUnit::HandleCommand(std::span<const std::uint8_t> request) {
  if (IsRequest(request, 'P', 0x00, 2)) return Bytes(parameters_.begin(), parameters_.end());
  if (IsRequest(request, 'p', 0x00, parameters_.size() + 2)) {
    std::copy(request.begin() + 2, request.end(), parameters_.begin());
    return Acknowledge(4);
  }
  if (IsRequest(request, 'D', 0x00, 2)) {
    Bytes reply;
    AppendU16(reply, static_cast<std::uint16_t>(ReadU16(parameters_.data())));
    AppendU16(reply, static_cast<std::uint16_t>(-250));  // -0.25
    AppendU16(reply, 3300);                              // 3.3
    return reply;
  }
  return std::nullopt;
}

std::optional<Bytes> VirtualDroneUnit::HandleCommand(std::span<const std::uint8_t> request) {
  if (!IsRequest(request, 'D', 0x00, 2)) return std::nullopt;
  ++records_;
  Bytes reply;
  AppendI32(reply, static_cast<std::int32_t>(records_));
  while (reply.size() < kDroneRecordBytes) {
    reply.push_back(static_cast<std::uint8_t>((records_ + reply.size()) & 0xFF));
  }
  return reply;
}

}  // namespace wrenlink::sim
