// The ten device slots, the kind table and the raw transfers every command is built on.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>

namespace wrenlink {

inline constexpr int kSlotCount = 10;
inline constexpr int kDevicePathCapacity = 260;

inline bool ValidIndex(int index) {
  return index >= 0 && index < kSlotCount;
}

// Opens slot `index` on the n-th instrument and checks its descriptor; 1 or 0.
int DetectSlot(int index);
void CloseSlot(int index);
bool SlotOpen(int index);
// Copies the slot's device path as the path queries do (see GetName).
int CopyDevicePath(int index, char* buffer, int length);

// Kind recorded for the slot at its last successful detection (0 before any).
int RecordedKind(int index);
bool KindAccepted(int index, std::initializer_list<int> kinds);

// One bulk transfer each; the byte count moved, 0 on a closed slot or a failed transfer.
int WriteBytes(int index, const std::uint8_t* data, int length);
int ReadBytes(int index, std::uint8_t* buffer, int length);
// A request followed by its one reply read; returns the reply's byte count.
int Exchange(int index, std::span<const std::uint8_t> request, std::uint8_t* reply, int replyMax);
// Waits on the slot's transport (a scripted transport only records the wait).
void SleepOnSlot(int index, int milliseconds);
// The slot's transport clock in microseconds (0 on a closed slot), and how many times faster
// than nominal its instrument's exposures elapse (1 on a closed slot).
std::int64_t ClockOnSlot(int index);
double ExposureSpeedOnSlot(int index);

// The exposure in microseconds that the library last set on or read from the slot's
// instrument; none since its detection, or after an exchange that got no reply: -1.
void RememberExposure(int index, double exposureUs);
double RememberedExposure(int index);
// WRENLINK_TEN_MS_POLL=1 at detection: readouts poll every 10 ms, as earlier versions did.
bool TenMsPollOnSlot(int index);

}  // namespace wrenlink
