#include "slots.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <string>

#include "env.h"
#include "log.h"
#include "trace.h"
#include "transport/transport.h"

namespace wrenlink {
namespace {

struct DeviceSlot {
  int opened = 0;
  std::unique_ptr<Connection> connection;
  Transport* transport = nullptr;
  int timeoutMs = kDefaultTimeoutMs;
  bool tenMsPoll = false;
  double exposureUs = -1;
  char devicePath[kDevicePathCapacity] = {};
};

std::array<DeviceSlot, kSlotCount> slots;
std::array<int, kSlotCount> kindTable = {};

// Finds the n-th instrument and opens it into the slot. Any failure leaves the slot closed.
bool OpenDeviceSlot(int index) {
  DeviceSlot& slot = slots[index];
  slot.opened = 0;
  slot.connection.reset();
  Transport& transport = TransportForDetection();
  std::string path;
  if (transport.FindDevicePath(index, path) != FindResult::kFound) return false;
  if (path.size() >= static_cast<std::size_t>(kDevicePathCapacity)) {
    Log("slots", "device path of %zu characters is too long", path.size());
    return false;
  }
  std::memcpy(slot.devicePath, path.c_str(), path.size() + 1);
  slot.connection = transport.Open(path);
  if (!slot.connection) {
    Log("slots", "cannot open %s", path.c_str());
    return false;
  }
  slot.transport = &transport;
  slot.timeoutMs = TransferTimeoutMs();
  slot.tenMsPoll = TenMsPollWanted();
  slot.exposureUs = -1;
  slot.opened = 1;
  return true;
}

// Asks for the kind with the 2-byte K query and a zeroed 4-byte reply; 0 when nothing came.
int QueryKind(int index) {
  const std::uint8_t request[2] = {0x4B, 0x00};
  std::uint8_t reply[4] = {};
  Exchange(index, request, reply, sizeof reply);
  return reply[0];
}

}  // namespace

int DetectSlot(int index) {
  if (!OpenDeviceSlot(index)) return 0;
  std::uint8_t descriptor[kDeviceDescriptorLength] = {};
  int received = slots[index].connection->ReadDeviceDescriptor(descriptor, sizeof descriptor);
  if (received < kDeviceDescriptorLength) {
    Log("slots", "index %d: descriptor of %d bytes, not detected", index, received);
    CloseSlot(index);
    return 0;
  }
  kindTable[index] = QueryKind(index);
  return 1;
}

void CloseSlot(int index) {
  DeviceSlot& slot = slots[index];
  if (slot.opened != 1) return;
  slot.connection.reset();
  slot.opened = 0;
}

bool SlotOpen(int index) {
  return ValidIndex(index) && slots[index].opened == 1;
}

int CopyDevicePath(int index, char* buffer, int length) {
  if (!ValidIndex(index) || buffer == nullptr) return 0;
  const char* path = slots[index].devicePath;
  for (int i = 0; i < length; ++i) {
    buffer[i] = path[i];
    if (path[i] == '\0') return i;
  }
  return std::max(length, 0);
}

int RecordedKind(int index) {
  return ValidIndex(index) ? kindTable[index] : 0;
}

bool KindAccepted(int index, std::initializer_list<int> kinds) {
  if (!ValidIndex(index)) return false;
  return std::find(kinds.begin(), kinds.end(), kindTable[index]) != kinds.end();
}

int WriteBytes(int index, const std::uint8_t* data, int length) {
  if (!SlotOpen(index) || data == nullptr || length < 0) return 0;
  DeviceSlot& slot = slots[index];
  int sent = std::max(slot.connection->BulkWrite(data, length, slot.timeoutMs), 0);
  TraceWrite(index, data, sent);
  return sent;
}

int ReadBytes(int index, std::uint8_t* buffer, int length) {
  if (!SlotOpen(index) || buffer == nullptr || length <= 0) return 0;
  DeviceSlot& slot = slots[index];
  int received = std::clamp(slot.connection->BulkRead(buffer, length, slot.timeoutMs), 0, length);
  TraceRead(index, length, buffer, received);
  return received;
}

int Exchange(int index, std::span<const std::uint8_t> request, std::uint8_t* reply, int replyMax) {
  WriteBytes(index, request.data(), static_cast<int>(request.size()));
  return ReadBytes(index, reply, replyMax);
}

void SleepOnSlot(int index, int milliseconds) {
  if (SlotOpen(index) && slots[index].transport != nullptr) {
    slots[index].transport->SleepMs(milliseconds);
  }
}

std::int64_t ClockOnSlot(int index) {
  if (!SlotOpen(index) || slots[index].transport == nullptr) return 0;
  return slots[index].transport->ClockUs();
}

double ExposureSpeedOnSlot(int index) {
  const double speed = SlotOpen(index) ? slots[index].connection->ExposureSpeed() : 1.0;
  return speed > 0 ? speed : 1.0;  // also for NaN
}

void RememberExposure(int index, double exposureUs) {
  if (ValidIndex(index)) slots[index].exposureUs = exposureUs;
}

double RememberedExposure(int index) {
  return ValidIndex(index) ? slots[index].exposureUs : -1;
}

bool TenMsPollOnSlot(int index) {
  return ValidIndex(index) && slots[index].tenMsPoll;
}

}  // namespace wrenlink
