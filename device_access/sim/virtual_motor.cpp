#include "virtual_motor.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace wrenlink::sim {
namespace {

const char kOk[] = "OK,";
const char kRefused[] = "NG,";
// Parameters are 32-bit on the controller; larger numbers are taken at the nearest limit.
constexpr long kSmallest = std::numeric_limits<std::int32_t>::min();
constexpr long kLargest = std::numeric_limits<std::int32_t>::max();

// The request's text up to its NUL.
std::string TextOf(std::span<const std::uint8_t> request) {
  std::string text;
  for (std::uint8_t c : request) {
    if (c == 0) break;
    text.push_back(static_cast<char>(c));
  }
  return text;
}

// Comma-separated integers after the two command letters.
std::vector<long> NumbersOf(const std::string& text) {
  std::vector<long> numbers;
  const char* cursor = text.c_str() + std::min<std::size_t>(2, text.size());
  while (*cursor != '\0') {
    char* end = nullptr;
    long value = std::strtol(cursor, &end, 10);
    if (end == cursor) break;
    numbers.push_back(std::clamp(value, kSmallest, kLargest));
    cursor = *end == ',' ? end + 1 : end;
  }
  return numbers;
}

}  // namespace

VirtualMotor::VirtualMotor(const InstrumentSpec& spec)
    : VirtualInstrument(15, "MOTORCTRL", "1.00"),
      operatorSwitches_(spec.NumberOption("opswitch", 0)) {}

long VirtualMotor::Position(long axis) const {
  auto found = positions_.find(axis);
  return found == positions_.end() ? 0 : found->second;
}

bool VirtualMotor::Excited(long axis) const {
  auto found = excitation_.find(axis);
  return found != excitation_.end() && found->second;
}

std::optional<Bytes> VirtualMotor::HandleCommand(std::span<const std::uint8_t> request) {
  const std::string text = TextOf(request);
  if (text.size() < 2) return std::nullopt;
  const std::string reply = Respond(text.substr(0, 2), NumbersOf(text));
  return Bytes(reply.begin(), reply.end());
}

std::string VirtualMotor::Respond(const std::string& command, const std::vector<long>& numbers) {
  auto number = [&](std::size_t i) { return i < numbers.size() ? numbers[i] : 0L; };
  if (command == "GS" || command == "GI") return Query(command, number(0));
  if (command == "Ps" || command == "PS") return kOk;  // moves are over at once: nothing to stop
  if (command == "PM" && numbers.size() >= 3) {
    positions_[number(0)] = Position(number(0)) + number(1);
  } else if (command == "PO" && numbers.size() >= 3) {
    positions_[number(0)] = 0;
  } else if (command == "PV" && numbers.size() >= 1) {
    startSpeed_ = number(0);
  } else if (command == "PE" && numbers.size() >= 2) {
    excitation_[number(0)] = number(1) != 0;
  } else if (command == "PB" || command == "Pb") {
    buzzer_ = command == "PB";
  } else {
    return kRefused;
  }
  return kOk;
}

std::string VirtualMotor::Query(const std::string& command, long n) const {
  if (command == "GI") {
    const bool pressed = n >= 0 && n < 31 && ((operatorSwitches_ >> n) & 1) != 0;
    return pressed ? "1," : "0,";
  }
  const long position = Position(n);
  return std::string(position == 0 ? "1," : "0,") + std::to_string(position) + ",";
}

}  // namespace wrenlink::sim
