// Discovery, raw transfers and the identity queries every instrument answers.
#include "guard.h"
#include "slots.h"
#include "wrenlink.h"

using namespace wrenlink;

namespace {

int IdentityQuery(int index, std::uint8_t letter, unsigned char* buffer, int length) {
  if (!ValidIndex(index) || buffer == nullptr || length <= 0) return 0;
  const std::uint8_t request[2] = {letter, 0x00};
  return Exchange(index, request, buffer, length);
}

}  // namespace

extern "C" {

int WRENLINK_CALL DetectDevice(int index) {
  return Guarded("DetectDevice", [&] { return ValidIndex(index) ? DetectSlot(index) : 0; });
}

int WRENLINK_CALL GetName(int index, char* buffer, int length) {
  return Guarded("GetName", [&] { return CopyDevicePath(index, buffer, length); });
}

int WRENLINK_CALL GetVersionStr(int index, char* buffer, int length) {
  return Guarded("GetVersionStr", [&] { return CopyDevicePath(index, buffer, length); });
}

int WRENLINK_CALL GetDeviceName(int index, unsigned char* buffer, int length) {
  return Guarded("GetDeviceName", [&] { return IdentityQuery(index, 0x4E, buffer, length); });
}

int WRENLINK_CALL GetDeviceVersion(int index, unsigned char* buffer, int length) {
  return Guarded("GetDeviceVersion", [&] { return IdentityQuery(index, 0x56, buffer, length); });
}

int WRENLINK_CALL GetDeviceKind(int index) {
  return Guarded("GetDeviceKind", [&] {
    std::uint8_t reply[4] = {};
    IdentityQuery(index, 0x4B, reply, sizeof reply);
    return static_cast<int>(reply[0]);
  });
}

int WRENLINK_CALL WriteData(int index, const unsigned char* data, int length) {
  return Guarded("WriteData", [&] { return WriteBytes(index, data, length); });
}

int WRENLINK_CALL ReadData(int index, unsigned char* buffer, int length) {
  return Guarded("ReadData", [&] { return ReadBytes(index, buffer, length); });
}

int WRENLINK_CALL CloseDevice(int index) {
  return Guarded(
      "CloseDevice",
      [&] {
        if (ValidIndex(index)) CloseSlot(index);
        return 1;
      },
      1);
}

}  // extern "C"
