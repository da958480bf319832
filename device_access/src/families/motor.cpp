// Motor controller (kind 15): text commands of a fixed 50-byte size, gated by one library-wide
// flag that GetMotor sets when the probed device is a motor controller.
#include <algorithm>
#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <limits>
#include <span>

#include "family_exchange.h"
#include "guard.h"
#include "motor_text.h"
#include "wrenlink.h"

using namespace wrenlink;

namespace {

constexpr int kMotorController = WRENLINK_KIND_MOTOR;
constexpr int kTextRequestBytes = 50;
constexpr int kTextReplyBytes = 32;
constexpr int kIdentityBytes = 50;

// One flag for the whole library, not per slot: while it is 1, text commands go to whatever
// index the caller names.
std::atomic<int> motorOpen{0};

struct TextReply {
  std::uint8_t bytes[kTextReplyBytes] = {};
};

// Formats the command into a zeroed 50-byte request, sends all 50 bytes and reads the reply.
TextReply SendText(int index, const char* format, ...) __attribute__((format(printf, 2, 3)));

TextReply SendText(int index, const char* format, ...) {
  char request[kTextRequestBytes] = {};
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(request, sizeof request, format, arguments);
  va_end(arguments);
  TextReply reply;
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(request),
                                            kTextRequestBytes);
  Exchange(index, bytes, reply.bytes, kTextReplyBytes);
  return reply;
}

bool MotorReady(int index) {
  return motorOpen.load() == 1 && ValidIndex(index);
}

// Runs a setter command: 1 once sent, 0 while no motor controller is open.
template <typename Send>
int MotorSetter(int index, Send&& send) {
  if (!MotorReady(index)) return 0;
  send();
  return 1;
}

int ProbeMotor(int index) {
  if (DetectSlot(index) == 0) return 0;
  unsigned char identity[kIdentityBytes];
  GetDeviceName(index, identity, kIdentityBytes);
  GetDeviceVersion(index, identity, kIdentityBytes);
  return RecordedKind(index) == kMotorController ? 1 : 0;
}

}  // namespace

namespace wrenlink {

std::int32_t ParseReplyNumber(const std::uint8_t* text, std::size_t available) {
  constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
  std::int64_t value = 0;  // twelve digits stay far inside 64 bits
  std::int64_t sign = 1;
  for (std::size_t i = 0; i < std::min(available, kReplyNumberSpan); ++i) {
    const std::uint8_t c = text[i];
    if (c == ' ' || c == '+') continue;
    if (c == '-') {
      sign = -1;
      continue;
    }
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
  }
  return static_cast<std::int32_t>(std::clamp(value * sign, -kLimit - 1, kLimit));
}

}  // namespace wrenlink

extern "C" {

int WRENLINK_CALL GetMotor(int index) {
  return Guarded("GetMotor", [&] {
    const int found = ValidIndex(index) ? ProbeMotor(index) : 0;
    motorOpen.store(found);
    return found;
  });
}

int WRENLINK_CALL CloseMotor(int index) {
  return Guarded(
      "CloseMotor",
      [&] {
        if (motorOpen.load() != 1) return 1;
        if (ValidIndex(index)) CloseSlot(index);
        motorOpen.store(0);
        return 1;
      },
      1);
}

int WRENLINK_CALL DoMove(int index, int p1, int p2, int p3) {
  return Guarded("DoMove", [&] {
    return MotorSetter(index, [&] { SendText(index, "PM%d,%d,%d,", p1, p2, p3); });
  });
}

int WRENLINK_CALL DoOriginal(int index, int p1, int p2, int p3) {
  return Guarded("DoOriginal", [&] {
    return MotorSetter(index, [&] { SendText(index, "PO%d,%d,%d,", p1, p2, p3); });
  });
}

int WRENLINK_CALL SetStartSpeed(int index, int speed) {
  return Guarded("SetStartSpeed",
                 [&] { return MotorSetter(index, [&] { SendText(index, "PV%d,", speed); }); });
}

int WRENLINK_CALL SetExcitation(int index, int p1, int p2) {
  return Guarded("SetExcitation",
                 [&] { return MotorSetter(index, [&] { SendText(index, "PE%d,%d,", p1, p2); }); });
}

int WRENLINK_CALL SetBuzzer(int index, int on) {
  return Guarded("SetBuzzer", [&] {
    return MotorSetter(index, [&] { SendText(index, "%s", on != 0 ? "PB," : "Pb,"); });
  });
}

int WRENLINK_CALL StopSoft(int index) {
  return Guarded("StopSoft",
                 [&] { return MotorSetter(index, [&] { SendText(index, "%s", "Ps"); }); });
}

int WRENLINK_CALL StopNow(int index) {
  return Guarded("StopNow",
                 [&] { return MotorSetter(index, [&] { SendText(index, "%s", "PS"); }); });
}

int WRENLINK_CALL GetSwitch(int index, int n) {
  return Guarded("GetSwitch", [&] {
    // With no motor controller open the switch reads 1.
    if (motorOpen.load() != 1) return 1;
    if (!ValidIndex(index)) return 0;
    const TextReply reply = SendText(index, "GS%d,", n);
    return static_cast<int>(ParseReplyNumber(reply.bytes, kTextReplyBytes));
  });
}

int WRENLINK_CALL GetOpSwitch(int index, int n) {
  return Guarded("GetOpSwitch", [&] {
    if (!MotorReady(index)) return 0;
    const TextReply reply = SendText(index, "GI%d,", n);
    return static_cast<int>(ParseReplyNumber(reply.bytes, kTextReplyBytes));
  });
}

int WRENLINK_CALL GetStatus(int index, int n) {
  return Guarded("GetStatus", [&] {
    if (!MotorReady(index)) return 0;
    const TextReply reply = SendText(index, "GS%d,", n);
    return static_cast<int>(ParseReplyNumber(reply.bytes + 2, kTextReplyBytes - 2));
  });
}

}  // extern "C"
