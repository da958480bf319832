#include "chromiva/acquisition/instrument_identity.h"

#include <array>

#include "wrenlink.h"

namespace chromiva::acquisition {
namespace {

constexpr int kKindReplyBytes = 4;
constexpr int kSerialBytes = 8;
constexpr int kCompBytes =
    static_cast<int>(std::tuple_size_v<decltype(SpectrometerIdentity::comp)>);
constexpr int kExposureBytes = 4;

// Notes a reply of `received` bytes where `expected` were due; false when nothing arrived
// (the instrument is silent or gone: asking on would only wait out more timeouts).
bool NoteShort(std::string& problem, const char* what, int received, int expected) {
  if (received >= expected) return true;
  if (!problem.empty()) problem += ", ";
  if (received <= 0) {
    problem += std::string(what) + ": no answer";
    return false;
  }
  problem += std::string(what) + ": " + std::to_string(received) + " of " +
             std::to_string(expected) + " bytes";
  return true;
}

std::string Text(int (*query)(int, unsigned char*, int), int index, int& received) {
  std::array<unsigned char, 35> buffer{};
  received = query(index, buffer.data(), 34);
  std::string text(reinterpret_cast<const char*>(buffer.data()),
                   static_cast<std::size_t>(received > 0 ? received : 0));
  return text.substr(0, text.find('\0'));
}

}  // namespace

InstrumentIdentity ReadIdentity(int deviceIndex) {
  InstrumentIdentity identity;
  int received = 0;
  identity.name = Text(GetDeviceName, deviceIndex, received);
  if (!NoteShort(identity.problem, "name", received, 1)) return identity;
  identity.version = Text(GetDeviceVersion, deviceIndex, received);
  if (!NoteShort(identity.problem, "version", received, 1)) return identity;
  // The kind query itself, to see how much of its reply arrived.
  const unsigned char request[2] = {'K', 0x00};
  std::array<unsigned char, kKindReplyBytes> reply{};
  WriteData(deviceIndex, request, sizeof request);
  received = ReadData(deviceIndex, reply.data(), kKindReplyBytes);
  identity.kind = reply[0];
  if (NoteShort(identity.problem, "kind", received, kKindReplyBytes) && identity.ok() &&
      identity.kind == 0) {
    identity.problem = "kind: 0";
  }
  return identity;
}

SpectrometerIdentity ReadSpectrometerIdentity(int deviceIndex) {
  SpectrometerIdentity identity;
  std::array<unsigned char, 65> serial{};
  const int serialBytes = GetDeviceSerialNo(deviceIndex, serial.data(), 64);
  identity.serial =
      std::string(reinterpret_cast<const char*>(serial.data())).substr(0, kSerialBytes);
  if (!NoteShort(identity.problem, "serial number", serialBytes, kSerialBytes)) return identity;
  if (!NoteShort(identity.problem, "wavelength coefficients",
                 GetDeviceComp(deviceIndex, identity.comp.data()), kCompBytes)) {
    return identity;
  }
  NoteShort(identity.problem, "exposure", GetDeviceExposure(deviceIndex, &identity.exposureUs),
            kExposureBytes);
  return identity;
}

}  // namespace chromiva::acquisition
