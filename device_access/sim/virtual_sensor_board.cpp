#include "virtual_sensor_board.h"

namespace wrenlink::sim {
namespace {

constexpr std::array<std::int32_t, 3> kBoardReadings = {1200, -340, 5600};
constexpr int kLoadUnit64 = 24;
constexpr std::size_t kLoadRequestBytes = 10;

bool IsRequest(std::span<const std::uint8_t> request, std::uint8_t letter, std::uint8_t parameter,
               std::size_t size) {
  return request.size() == size && request[0] == letter && request[1] == parameter;
}

// A 32-bit register's view of a wider result: the low 32 bits.
std::int32_t Wrapped(std::int64_t value) {
  return static_cast<std::int32_t>(value);
}

}  // namespace

Bytes VirtualSensorBoard::Readings() const {
  Bytes reply;
  for (std::int32_t reading : kBoardReadings)
    AppendI32(reply, Wrapped(std::int64_t{reading} + offset_));
  return reply;
}

std::optional<Bytes> VirtualSensorBoard::HandleCommand(std::span<const std::uint8_t> request) {
  if (IsRequest(request, 'O', 0x04, 2)) {
    Bytes reply;
    AppendI32(reply, offset_);
    return reply;
  }
  if (IsRequest(request, 'o', 0x00, 6)) {
    offset_ = ReadI32(request.data() + 2);
    return Acknowledge(4);
  }
  if (IsRequest(request, 'D', 0x0C, 2)) return Readings();
  return channels_.Handle(request);
}

VirtualLoadCell::VirtualLoadCell(int kind, const InstrumentSpec& spec)
    : VirtualInstrument(kind, kind == kLoadUnit64 ? "LOADCELL64" : "LOADCELL", "1.00"),
      raw_(static_cast<std::int32_t>(spec.NumberOption("raw", 12500))) {}

std::int32_t VirtualLoadCell::Weight() const {
  return Wrapped((static_cast<std::int64_t>(raw_) - tare_) * calibration_ / 1000);
}

Bytes VirtualLoadCell::LoadData() const {
  Bytes reply;
  if (Kind() != kLoadUnit64) {
    AppendI32(reply, Weight());
    return reply;
  }
  for (std::int64_t channel = 0; channel < 16; ++channel) {
    AppendI32(reply, Wrapped(Weight() + channel));
  }
  return reply;
}

std::optional<Bytes> VirtualLoadCell::HandleCommand(std::span<const std::uint8_t> request) {
  if (IsRequest(request, 'D', 0x02, 2)) return LoadData();
  if (Kind() == kLoadUnit64) return std::nullopt;
  if (IsRequest(request, 'D', 0x0C, 2)) return LoadData();
  return HandleSettings(request);
}

std::optional<Bytes> VirtualLoadCell::HandleSettings(std::span<const std::uint8_t> request) {
  if (IsRequest(request, 'L', 0x02, 6)) {
    Bytes reply;
    AppendI32(reply, loads_[request[2]]);
    return reply;
  }
  if (IsRequest(request, 'l', 0x02, kLoadRequestBytes)) {
    loads_[request[2]] = ReadI32(request.data() + 6);
  } else if (IsRequest(request, 't', 0x00, kLoadRequestBytes)) {
    tare_ = raw_;
  } else if (IsRequest(request, 'c', 0x02, 6)) {
    pendingCalibration_ = ReadI32(request.data() + 2);
  } else if (IsRequest(request, 's', 0x00, kLoadRequestBytes)) {
    calibration_ = pendingCalibration_;
  } else {
    return std::nullopt;
  }
  return Acknowledge(4);
}

}  // namespace wrenlink::sim
