// Spectrometer commands: exposure, spectrum readout, EEPROM, temperature, real data, the
// second channel of the two-channel model, and the mirror unit's position.
#include <cstring>
#include <initializer_list>

#include "families.h"
#include "guard.h"
#include "protocol.h"
#include "slots.h"
#include "wrenlink.h"

using namespace wrenlink;

namespace {

constexpr std::initializer_list<int> kExposureKinds = {1, 2, 3, 4, 28, 30, 33, 38};
constexpr std::initializer_list<int> kSpectrometerKinds = {1, 2, 3, 4, 28, 30, 33, 37, 38};
constexpr std::initializer_list<int> kTemperatureKinds = {28, 29, 30, 33, 37, 38};
constexpr int kMaxEepromRead = 255;
constexpr int kMaxEepromWrite = 60;
constexpr int kCompAddress = 16;
constexpr int kComp2Address = 32;
constexpr int kCompLength = 48;
constexpr int kPollLimit = 1000;
constexpr int kPollIntervalMs = 10;
constexpr int kControlReply = 32;

// Pixels read in block mode, or 0 when the kind has no block readout.
int BlockModePixels(int kind) {
  switch (kind) {
    case 1:
    case 2:
    case 3:
    case 30:
      return 256;
    case 4:
    case 28:
      return 288;
    case 37:
      return 544;
    default:
      return 0;
  }
}

// Bytes of the all-data reply in polled mode, or 0 when the kind is not polled.
int PolledReplyBytes(int kind) {
  if (kind == 33) return 576;
  if (kind == 38) return 512;
  return 0;
}

int RealDataBytes(int kind) {
  if (kind == 33) return 1152;
  if (kind == 38) return 1024;
  return 0;
}

// Sends a 2-byte control request (start or status) and reads its 32-byte reply.
int ControlExchange(int index, std::uint8_t letter, std::uint8_t* reply) {
  std::memset(reply, 0, kControlReply);
  const Request request = MakeRequest(letter, 0x00);
  return Exchange(index, request.Span(), reply, kControlReply);
}

// A readout gives up, answering 0, when its start or a status exchange gets no reply at all:
// the instrument is silent or gone, no frame will come, and every further exchange would only
// wait out the transfer timeout.
int ReadBlockMode(int index, int pixels, std::uint8_t* samples) {
  std::uint8_t control[kControlReply];
  if (ControlExchange(index, 0x73, control) == 0) return 0;
  if (ControlExchange(index, 0x53, control) == 0) return 0;
  int last = 0;
  for (int offset = 0; offset < pixels; offset += 32) {
    const Request request = MakeRequest(0x44, static_cast<std::uint8_t>(offset / 32));
    last = Exchange(index, request.Span(), samples + offset * 2, 64);
  }
  return last;
}

int ReadPolledMode(int index, int replyBytes, std::uint8_t* samples) {
  std::uint8_t control[kControlReply];
  if (ControlExchange(index, 0x73, control) == 0) return 0;
  for (int poll = 0; poll < kPollLimit; ++poll) {
    if (ControlExchange(index, 0x53, control) == 0) return 0;
    if (control[0] == 0) break;
    SleepOnSlot(index, kPollIntervalMs);
  }
  const Request request = MakeRequest(0x64, 0x00);
  return Exchange(index, request.Span(), samples, replyBytes);
}

int EepromRead(int index, std::uint8_t command, int address, unsigned char* buffer, int length) {
  if (buffer == nullptr || length < 1 || length > kMaxEepromRead) return 0;
  const Request request = EncodeEepromRead(command, address, length);
  return Exchange(index, request.Span(), buffer, length);
}

int EepromWrite(int index, std::uint8_t command, int address, const unsigned char* data,
                int length) {
  if (data == nullptr || length < 0 || length > kMaxEepromWrite) return 0;
  Request request = EncodeEepromWrite(command, address, data, length);
  // The acknowledgement lands in the request buffer and is dropped.
  return Exchange(index, request.Span(), request.bytes.data(), kMaxRequest);
}

int ReadExposure(int index, int channel, double* exposureUs) {
  std::uint8_t reply[4] = {};
  const Request request = EncodeExposureRead(channel);
  int count = Exchange(index, request.Span(), reply, sizeof reply);
  *exposureUs = static_cast<double>(GetI32(reply));
  return count;
}

int WriteExposure(int index, int channel, double exposureUs) {
  std::uint8_t reply[4] = {};
  const Request request = EncodeExposureWrite(channel, exposureUs);
  return Exchange(index, request.Span(), reply, sizeof reply);
}

}  // namespace

extern "C" {

int WRENLINK_CALL GetDeviceExposure(int index, double* exposureUs) {
  return Guarded("GetDeviceExposure", [&] {
    if (exposureUs == nullptr || !KindAccepted(index, kExposureKinds)) return 0;
    return ReadExposure(index, 0, exposureUs);
  });
}

int WRENLINK_CALL SetDeviceExposure(int index, double exposureUs) {
  return Guarded("SetDeviceExposure", [&] {
    if (!KindAccepted(index, kExposureKinds)) return 0;
    return WriteExposure(index, 0, exposureUs);
  });
}

int WRENLINK_CALL GetDeviceExposure2(int index, double* channel0Us, double* channel1Us) {
  return Guarded("GetDeviceExposure2", [&] {
    if (channel0Us == nullptr || channel1Us == nullptr || !KindAccepted(index, {37})) return 0;
    ReadExposure(index, 0, channel0Us);
    return ReadExposure(index, 1, channel1Us);
  });
}

int WRENLINK_CALL SetDeviceExposure2(int index, double channel0Us, double channel1Us) {
  return Guarded("SetDeviceExposure2", [&] {
    if (!KindAccepted(index, {37})) return 0;
    WriteExposure(index, 0, channel0Us);
    return WriteExposure(index, 1, channel1Us);
  });
}

int WRENLINK_CALL GetDeviceData(int index, void* buffer) {
  return Guarded("GetDeviceData", [&] {
    if (buffer == nullptr) return 0;
    auto* samples = static_cast<std::uint8_t*>(buffer);
    int kind = RecordedKind(index);
    if (!ValidIndex(index)) return 0;
    if (int pixels = BlockModePixels(kind)) return ReadBlockMode(index, pixels, samples);
    if (int bytes = PolledReplyBytes(kind)) return ReadPolledMode(index, bytes, samples);
    return FamilyDeviceData(index, kind, buffer);
  });
}

int WRENLINK_CALL GetDeviceEeprom(int index, int address, unsigned char* buffer, int length) {
  return Guarded("GetDeviceEeprom", [&] {
    return ValidIndex(index) ? EepromRead(index, 0x50, address, buffer, length) : 0;
  });
}

int WRENLINK_CALL SetDeviceEeprom(int index, int address, const unsigned char* data, int length) {
  return Guarded("SetDeviceEeprom", [&] {
    return ValidIndex(index) ? EepromWrite(index, 0x70, address, data, length) : 0;
  });
}

int WRENLINK_CALL GetDeviceEeprom2(int index, int address, unsigned char* buffer, int length) {
  return Guarded("GetDeviceEeprom2", [&] {
    return KindAccepted(index, {37}) ? EepromRead(index, 0x46, address, buffer, length) : 0;
  });
}

int WRENLINK_CALL SetDeviceEeprom2(int index, int address, const unsigned char* data, int length) {
  return Guarded("SetDeviceEeprom2", [&] {
    return KindAccepted(index, {37}) ? EepromWrite(index, 0x66, address, data, length) : 0;
  });
}

int WRENLINK_CALL GetDeviceSerialNo(int index, unsigned char* buffer, int length) {
  return Guarded("GetDeviceSerialNo", [&] {
    return KindAccepted(index, kSpectrometerKinds) ? EepromRead(index, 0x50, 0, buffer, length) : 0;
  });
}

int WRENLINK_CALL SetDeviceSerialNo(int index, const unsigned char* data, int length) {
  return Guarded("SetDeviceSerialNo", [&] {
    return KindAccepted(index, kSpectrometerKinds) ? EepromWrite(index, 0x70, 0, data, length) : 0;
  });
}

int WRENLINK_CALL GetDeviceComp(int index, unsigned char* block48) {
  return Guarded("GetDeviceComp", [&] {
    return KindAccepted(index, kSpectrometerKinds)
               ? EepromRead(index, 0x50, kCompAddress, block48, kCompLength)
               : 0;
  });
}

int WRENLINK_CALL SetDeviceComp(int index, const unsigned char* block48) {
  return Guarded("SetDeviceComp", [&] {
    return KindAccepted(index, kSpectrometerKinds)
               ? EepromWrite(index, 0x70, kCompAddress, block48, kCompLength)
               : 0;
  });
}

int WRENLINK_CALL GetDeviceComp2(int index, unsigned char* block48) {
  return Guarded("GetDeviceComp2", [&] {
    return KindAccepted(index, {37}) ? EepromRead(index, 0x50, kComp2Address, block48, kCompLength)
                                     : 0;
  });
}

int WRENLINK_CALL SetDeviceComp2(int index, const unsigned char* block48) {
  return Guarded("SetDeviceComp2", [&] {
    return KindAccepted(index, {37}) ? EepromWrite(index, 0x70, kComp2Address, block48, kCompLength)
                                     : 0;
  });
}

int WRENLINK_CALL GetDeviceTemp(int index, int16_t* tenthsCelsius) {
  return Guarded("GetDeviceTemp", [&] {
    if (tenthsCelsius == nullptr || !KindAccepted(index, kTemperatureKinds)) return 0;
    // The two reply bytes go unconverted into the caller's variable.
    const Request request = MakeRequest(0x54, 0x02);
    return Exchange(index, request.Span(), reinterpret_cast<std::uint8_t*>(tenthsCelsius), 2);
  });
}

int WRENLINK_CALL GetDeviceRealData(int index, unsigned char* buffer) {
  return Guarded("GetDeviceRealData", [&] {
    int bytes = RealDataBytes(RecordedKind(index));
    if (buffer == nullptr || bytes == 0 || !ValidIndex(index)) return 0;
    std::uint8_t control[kControlReply];
    if (ControlExchange(index, 0x73, control) == 0) return 0;
    if (ControlExchange(index, 0x53, control) == 0) return 0;
    const Request request = MakeRequest(0x52, 0x00);
    return Exchange(index, request.Span(), buffer, bytes);
  });
}

int WRENLINK_CALL SetMirror(int index, int position) {
  return Guarded("SetMirror", [&] {
    if (!KindAccepted(index, {34})) return 0;
    std::uint8_t reply[4] = {};
    const Request request = EncodeMirrorPosition(position);
    return Exchange(index, request.Span(), reply, sizeof reply);
  });
}

}  // extern "C"
