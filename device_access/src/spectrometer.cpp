// Spectrometer commands: exposure, spectrum readout, EEPROM, temperature, real data, the
// second channel of the two-channel model, and the mirror unit's position.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

#include "families.h"
#include "guard.h"
#include "protocol.h"
#include "slots.h"
#include "wrenlink.h"

using namespace wrenlink;

namespace {

enum class Readout { kBlock, kPolled };

// What each spectrometer kind does; every spectrometer has the serial number and the
// compensation block in its EEPROM.
struct SpectrometerProfile {
  int kind;
  const char* name;
  int pixels;
  Readout readout;  // block: 32 pixels per exchange; polled: all at once when ready
  bool exposure;    // GetDeviceExposure, SetDeviceExposure (the two-channel model has its own)
  bool temperature;
  bool realData;       // 4 bytes per pixel, polled models only
  bool secondChannel;  // the *2 operations
};

constexpr SpectrometerProfile kSpectrometers[] = {
    {WRENLINK_KIND_SPECTRO_256_A, "256 pixels", 256, Readout::kBlock, true, false, false, false},
    {WRENLINK_KIND_SPECTRO_256_B, "256 pixels", 256, Readout::kBlock, true, false, false, false},
    {WRENLINK_KIND_SPECTRO_256_C, "256 pixels", 256, Readout::kBlock, true, false, false, false},
    {WRENLINK_KIND_SPECTRO_288, "288 pixels", 288, Readout::kBlock, true, false, false, false},
    {WRENLINK_KIND_SPECTRO_288_T, "288 pixels", 288, Readout::kBlock, true, true, false, false},
    {WRENLINK_KIND_SPECTRO_256_T, "256 pixels", 256, Readout::kBlock, true, true, false, false},
    {WRENLINK_KIND_C12880MA, "C12880MA", 288, Readout::kPolled, true, true, true, false},
    {WRENLINK_KIND_TWO_CHANNEL, "two-channel", 544, Readout::kBlock, false, true, false, true},
    {WRENLINK_KIND_SPECTRO_256_POLLED, "256 pixels, polled", 256, Readout::kPolled, true, true,
     true, false},
};

// The profile of the kind recorded for `index`, or nullptr when it is no spectrometer.
const SpectrometerProfile* ProfileAt(int index) {
  const int kind = RecordedKind(index);
  for (const SpectrometerProfile& profile : kSpectrometers) {
    if (profile.kind == kind) return &profile;
  }
  return nullptr;
}

bool Spectrometer(int index) {
  return ProfileAt(index) != nullptr;
}

bool ExposureKind(int index) {
  const SpectrometerProfile* profile = ProfileAt(index);
  return profile != nullptr && profile->exposure;
}

bool TwoChannelKind(int index) {
  const SpectrometerProfile* profile = ProfileAt(index);
  return profile != nullptr && profile->secondChannel;
}

// The LED unit of kind 29 answers the spectrometers' temperature request too.
bool TemperatureKind(int index) {
  const SpectrometerProfile* profile = ProfileAt(index);
  return (profile != nullptr && profile->temperature) ||
         (ValidIndex(index) && RecordedKind(index) == WRENLINK_KIND_LED_8CH);
}

// Request letters of the spectrometers (upper case reads, lower case writes).
constexpr std::uint8_t kStartLetter = 0x73;         // s: start an exposure
constexpr std::uint8_t kStatusLetter = 0x53;        // S: status, byte 0 = 0 when ready
constexpr std::uint8_t kBlockLetter = 0x44;         // D: 32 pixels of a block readout
constexpr std::uint8_t kAllDataLetter = 0x64;       // d: every pixel of a polled readout
constexpr std::uint8_t kRealDataLetter = 0x52;      // R
constexpr std::uint8_t kEepromReadLetter = 0x50;    // P
constexpr std::uint8_t kEepromWriteLetter = 0x70;   // p
constexpr std::uint8_t kEeprom2ReadLetter = 0x46;   // F: the two-channel model's second EEPROM
constexpr std::uint8_t kEeprom2WriteLetter = 0x66;  // f
constexpr std::uint8_t kTemperatureLetter = 0x54;   // T
constexpr int kMaxEepromRead = 255;
constexpr int kMaxEepromWrite = 60;
constexpr int kCompAddress = 16;
constexpr int kComp2Address = 32;
constexpr int kCompLength = 48;
constexpr int kControlReply = 32;

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
  if (ControlExchange(index, kStartLetter, control) == 0) return 0;
  if (ControlExchange(index, kStatusLetter, control) == 0) return 0;
  int last = 0;
  for (int offset = 0; offset < pixels; offset += 32) {
    const Request request = MakeRequest(kBlockLetter, static_cast<std::uint8_t>(offset / 32));
    last = Exchange(index, request.Span(), samples + offset * 2, 64);
  }
  return last;
}

// The waits between the status polls of one readout, which begins when the instrument has taken
// the start. The poll sleeps until the exposure the library last set or read should have ended,
// on the instrument's clock, then polls at steps of 1 ms doubling up to 10 ms, so a frame is read
// within about a millisecond of its end and a long or unknown wait costs few polls. It gives up
// ten seconds after the start. The ten-millisecond cadence of earlier versions (1000 polls 10 ms
// apart) stays as a baseline for benchmarks.
class ReadinessWait {
 public:
  explicit ReadinessWait(int index)
      : index_(index),
        tenMs_(TenMsPollOnSlot(index)),
        startUs_(ClockOnSlot(index)),
        expectedEndUs_(startUs_) {
    const double exposureUs = RememberedExposure(index);
    if (exposureUs >= 0) {
      expectedEndUs_ =
          startUs_ + static_cast<std::int64_t>(exposureUs / ExposureSpeedOnSlot(index));
    }
  }

  // The wait in milliseconds before the next poll of a busy instrument; none when the poll is
  // over and the frame is to be read as it is.
  std::optional<int> Next() {
    if (tenMs_) return ++polls_ < kTenMsPolls ? std::optional<int>(kLongestStepMs) : std::nullopt;
    const std::int64_t nowUs = ClockOnSlot(index_);
    const std::int64_t leftUs = startUs_ + kPollTimeUs - nowUs;
    if (leftUs <= 0) return std::nullopt;
    int waitMs = 0;
    if (nowUs < expectedEndUs_) {
      waitMs = CeilMs(expectedEndUs_ - nowUs);
    } else {
      waitMs = stepMs_;
      stepMs_ = std::min(stepMs_ * 2, kLongestStepMs);
    }
    return std::min(waitMs, CeilMs(leftUs));
  }

 private:
  static constexpr int kTenMsPolls = 1000;
  static constexpr int kLongestStepMs = 10;
  static constexpr std::int64_t kPollTimeUs = std::int64_t{kTenMsPolls} * kLongestStepMs * 1000;

  static int CeilMs(std::int64_t microseconds) {
    return static_cast<int>(std::min<std::int64_t>((microseconds + 999) / 1000, kPollTimeUs));
  }

  int index_;
  bool tenMs_;
  std::int64_t startUs_;
  std::int64_t expectedEndUs_;  // the start when the exposure is not known
  int stepMs_ = 1;
  int polls_ = 0;
};

int ReadPolledMode(int index, int replyBytes, std::uint8_t* samples) {
  std::uint8_t control[kControlReply];
  if (ControlExchange(index, kStartLetter, control) == 0) return 0;
  ReadinessWait wait(index);
  for (;;) {
    if (ControlExchange(index, kStatusLetter, control) == 0) return 0;
    if (control[0] == 0) break;
    const std::optional<int> waitMs = wait.Next();
    if (!waitMs) break;
    SleepOnSlot(index, *waitMs);
  }
  const Request request = MakeRequest(kAllDataLetter, 0x00);
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

// The readiness poll waits for the exposure of channel 0 that was last set or read; after an
// exchange that got no reply the instrument's exposure is not known.
int ReadExposure(int index, int channel, double* exposureUs) {
  std::uint8_t reply[4] = {};
  const Request request = EncodeExposureRead(channel);
  int count = Exchange(index, request.Span(), reply, sizeof reply);
  *exposureUs = static_cast<double>(GetI32(reply));
  const bool whole = count == static_cast<int>(sizeof reply);
  if (channel == 0) RememberExposure(index, whole ? *exposureUs : -1);
  return count;
}

int WriteExposure(int index, int channel, double exposureUs) {
  std::uint8_t reply[4] = {};
  const Request request = EncodeExposureWrite(channel, exposureUs);
  int count = Exchange(index, request.Span(), reply, sizeof reply);
  const double sent = std::max(0.0, static_cast<double>(GetI32(request.bytes.data() + 2)));
  if (channel == 0) RememberExposure(index, count > 0 ? sent : -1);
  return count;
}

}  // namespace

extern "C" {

int WRENLINK_CALL GetDeviceExposure(int index, double* exposureUs) {
  return Guarded("GetDeviceExposure", [&] {
    if (exposureUs == nullptr || !ExposureKind(index)) return 0;
    return ReadExposure(index, 0, exposureUs);
  });
}

int WRENLINK_CALL SetDeviceExposure(int index, double exposureUs) {
  return Guarded("SetDeviceExposure", [&] {
    if (!ExposureKind(index)) return 0;
    return WriteExposure(index, 0, exposureUs);
  });
}

int WRENLINK_CALL GetDeviceExposure2(int index, double* channel0Us, double* channel1Us) {
  return Guarded("GetDeviceExposure2", [&] {
    if (channel0Us == nullptr || channel1Us == nullptr || !TwoChannelKind(index)) return 0;
    ReadExposure(index, 0, channel0Us);
    return ReadExposure(index, 1, channel1Us);
  });
}

int WRENLINK_CALL SetDeviceExposure2(int index, double channel0Us, double channel1Us) {
  return Guarded("SetDeviceExposure2", [&] {
    if (!TwoChannelKind(index)) return 0;
    WriteExposure(index, 0, channel0Us);
    return WriteExposure(index, 1, channel1Us);
  });
}

int WRENLINK_CALL GetDeviceData(int index, void* buffer) {
  return Guarded("GetDeviceData", [&] {
    if (buffer == nullptr) return 0;
    auto* samples = static_cast<std::uint8_t*>(buffer);
    if (!ValidIndex(index)) return 0;
    const SpectrometerProfile* profile = ProfileAt(index);
    if (profile == nullptr) return FamilyDeviceData(index, RecordedKind(index), buffer);
    if (profile->readout == Readout::kBlock) {
      return ReadBlockMode(index, profile->pixels, samples);
    }
    return ReadPolledMode(index, profile->pixels * 2, samples);
  });
}

int WRENLINK_CALL GetDeviceEeprom(int index, int address, unsigned char* buffer, int length) {
  return Guarded("GetDeviceEeprom", [&] {
    return ValidIndex(index) ? EepromRead(index, kEepromReadLetter, address, buffer, length) : 0;
  });
}

int WRENLINK_CALL SetDeviceEeprom(int index, int address, const unsigned char* data, int length) {
  return Guarded("SetDeviceEeprom", [&] {
    return ValidIndex(index) ? EepromWrite(index, kEepromWriteLetter, address, data, length) : 0;
  });
}

int WRENLINK_CALL GetDeviceEeprom2(int index, int address, unsigned char* buffer, int length) {
  return Guarded("GetDeviceEeprom2", [&] {
    return TwoChannelKind(index) ? EepromRead(index, kEeprom2ReadLetter, address, buffer, length)
                                 : 0;
  });
}

int WRENLINK_CALL SetDeviceEeprom2(int index, int address, const unsigned char* data, int length) {
  return Guarded("SetDeviceEeprom2", [&] {
    return TwoChannelKind(index) ? EepromWrite(index, kEeprom2WriteLetter, address, data, length)
                                 : 0;
  });
}

int WRENLINK_CALL GetDeviceSerialNo(int index, unsigned char* buffer, int length) {
  return Guarded("GetDeviceSerialNo", [&] {
    return Spectrometer(index) ? EepromRead(index, kEepromReadLetter, 0, buffer, length) : 0;
  });
}

int WRENLINK_CALL SetDeviceSerialNo(int index, const unsigned char* data, int length) {
  return Guarded("SetDeviceSerialNo", [&] {
    return Spectrometer(index) ? EepromWrite(index, kEepromWriteLetter, 0, data, length) : 0;
  });
}

int WRENLINK_CALL GetDeviceComp(int index, unsigned char* block48) {
  return Guarded("GetDeviceComp", [&] {
    return Spectrometer(index)
               ? EepromRead(index, kEepromReadLetter, kCompAddress, block48, kCompLength)
               : 0;
  });
}

int WRENLINK_CALL SetDeviceComp(int index, const unsigned char* block48) {
  return Guarded("SetDeviceComp", [&] {
    return Spectrometer(index)
               ? EepromWrite(index, kEepromWriteLetter, kCompAddress, block48, kCompLength)
               : 0;
  });
}

int WRENLINK_CALL GetDeviceComp2(int index, unsigned char* block48) {
  return Guarded("GetDeviceComp2", [&] {
    return TwoChannelKind(index)
               ? EepromRead(index, kEepromReadLetter, kComp2Address, block48, kCompLength)
               : 0;
  });
}

int WRENLINK_CALL SetDeviceComp2(int index, const unsigned char* block48) {
  return Guarded("SetDeviceComp2", [&] {
    return TwoChannelKind(index)
               ? EepromWrite(index, kEepromWriteLetter, kComp2Address, block48, kCompLength)
               : 0;
  });
}

int WRENLINK_CALL GetDeviceTemp(int index, int16_t* tenthsCelsius) {
  return Guarded("GetDeviceTemp", [&] {
    if (tenthsCelsius == nullptr || !TemperatureKind(index)) return 0;
    // The two reply bytes go unconverted into the caller's variable.
    const Request request = MakeRequest(kTemperatureLetter, 0x02);
    return Exchange(index, request.Span(), reinterpret_cast<std::uint8_t*>(tenthsCelsius), 2);
  });
}

int WRENLINK_CALL GetDeviceRealData(int index, unsigned char* buffer) {
  return Guarded("GetDeviceRealData", [&] {
    const SpectrometerProfile* profile = ProfileAt(index);
    if (buffer == nullptr || profile == nullptr || !profile->realData) return 0;
    std::uint8_t control[kControlReply];
    if (ControlExchange(index, kStartLetter, control) == 0) return 0;
    if (ControlExchange(index, kStatusLetter, control) == 0) return 0;
    const Request request = MakeRequest(kRealDataLetter, 0x00);
    return Exchange(index, request.Span(), buffer, profile->pixels * 4);
  });
}

int WRENLINK_CALL SetMirror(int index, int position) {
  return Guarded("SetMirror", [&] {
    if (!KindAccepted(index, {WRENLINK_KIND_MIRROR})) return 0;
    std::uint8_t reply[4] = {};
    const Request request = EncodeMirrorPosition(position);
    return Exchange(index, request.Span(), reply, sizeof reply);
  });
}

}  // extern "C"
