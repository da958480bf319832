#include "virtual_spectrometer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

namespace wrenlink::sim {
namespace {

// Default wavelength polynomial over pixel number n = 1 to 288: about 337 to 853 nm.
constexpr std::array<double, 6> kFactoryCoefficients = {336.0, 1.72, 3.0e-4, -1.0e-7, 0.0, 0.0};
constexpr std::int32_t kReferenceExposureUs = 50000;
constexpr std::size_t kEepromSerialLength = 8;
constexpr std::size_t kCompAddress = 16;
constexpr std::uint32_t kStateMagic = 0x31534D57;  // "WMS1"

double Polynomial(const std::array<double, 6>& c, double n) {
  return c[0] + n * (c[1] + n * (c[2] + n * (c[3] + n * (c[4] + n * c[5]))));
}

std::string DefaultSerial(const InstrumentSpec& spec) {
  char text[16];
  std::snprintf(text, sizeof text, "SP%06d", spec.occurrence + 1);
  return text;
}

}  // namespace

double LightCountsPerMs(double wavelengthNm) {
  // A warm lamp seen through the sensor: a broad hump near 620 nm, a blue shoulder, and a
  // slow ripple so that no two wavelengths look alike.
  double broad = std::exp(-std::pow((wavelengthNm - 620.0) / 180.0, 2.0));
  double blue = 0.25 * std::exp(-std::pow((wavelengthNm - 450.0) / 30.0, 2.0));
  double ripple = 1.0 + 0.03 * std::sin(wavelengthNm / 17.0);
  return 250.0 * (0.9 * broad + blue + 0.02) * ripple;
}

VirtualSpectrometer::VirtualSpectrometer(const InstrumentSpec& spec)
    : VirtualInstrument(33, "C12880MA", "1.20"),
      lightOn_(spec.Option("light", "on") != "off"),
      speed_(SimulationSpeed()),
      exposureUs_(static_cast<std::int32_t>(spec.NumberOption("exposure", 100000, 0, 2147483647))),
      frameExposureUs_(exposureUs_) {
  std::string serial = spec.Option("serial", DefaultSerial(spec));
  stateKey_ = "spectrometer-" + serial;
  noise_.seed(static_cast<std::uint32_t>(std::hash<std::string>{}(serial)));
  LoadFactoryState(serial);
  RestoreOrSeedState();
}

double VirtualSpectrometer::DarkCounts(int pixel, double exposureUs) const {
  double offset = 600.0 + 25.0 * std::sin(pixel * 0.37) + 8.0 * std::cos(pixel * 1.3);
  double riseAtLongest = 320.0 + 40.0 * std::cos(pixel * 0.11);
  return offset + riseAtLongest * exposureUs / kLongestExposureUs;
}

double VirtualSpectrometer::PixelWavelength(int pixel) const {
  return tables_.wavelength[static_cast<std::size_t>(pixel)];
}

void VirtualSpectrometer::LoadFactoryState(const std::string& serial) {
  std::memcpy(eeprom_.data(), serial.data(), std::min(serial.size(), kEepromSerialLength));
  std::memcpy(eeprom_.data() + kCompAddress, kFactoryCoefficients.data(), 48);
  for (int p = 0; p < kPixels; ++p) {
    auto i = static_cast<std::size_t>(p);
    double wavelength = Polynomial(kFactoryCoefficients, p + 1);
    tables_.wavelength[i] = static_cast<float>(wavelength);
    double step0 = DarkCounts(p, kShortestExposureUs);
    double step19 = DarkCounts(p, kLongestExposureUs);
    for (int s = 0; s < kDarkSteps; ++s) {
      tables_.dark[static_cast<std::size_t>(s)][i] =
          static_cast<float>((step19 - step0) * s / 19.0 + step0);
    }
    double reference = LightCountsPerMs(wavelength) * kReferenceExposureUs / 1000.0;
    tables_.white[i] = static_cast<float>(reference);
    tables_.transmission[i] = static_cast<float>(reference * 0.97);
    tables_.sensitivity[i] = static_cast<float>(1.0 + 0.03 * std::sin(p / 23.0));
  }
  tables_.white[kPixels] = static_cast<float>(kReferenceExposureUs);
  tables_.transmission[kPixels] = static_cast<float>(kReferenceExposureUs);
  tables_.sensitivity[kPixels] = 1.0F;
}

void VirtualSpectrometer::RestoreOrSeedState() {
  Bytes blob;
  if (LoadPersistentState(stateKey_, blob) && DeserializeState(blob)) return;
  Persist();
}

Bytes VirtualSpectrometer::SerializeState() const {
  Bytes blob;
  AppendI32(blob, static_cast<std::int32_t>(kStateMagic));
  blob.insert(blob.end(), eeprom_.begin(), eeprom_.end());
  auto appendFloats = [&blob](const auto& values) {
    for (float value : values) AppendF32(blob, value);
  };
  appendFloats(tables_.wavelength);
  for (const auto& step : tables_.dark) appendFloats(step);
  appendFloats(tables_.white);
  appendFloats(tables_.transmission);
  appendFloats(tables_.sensitivity);
  return blob;
}

bool VirtualSpectrometer::DeserializeState(const Bytes& blob) {
  const std::size_t floats = sizeof(Tables) / sizeof(float);
  if (blob.size() != 4 + eeprom_.size() + floats * 4) return false;
  if (static_cast<std::uint32_t>(ReadI32(blob.data())) != kStateMagic) return false;
  const std::uint8_t* cursor = blob.data() + 4;
  std::memcpy(eeprom_.data(), cursor, eeprom_.size());
  cursor += eeprom_.size();
  auto readFloats = [&cursor](auto& values) {
    for (float& value : values) {
      value = ReadF32(cursor);
      cursor += 4;
    }
  };
  readFloats(tables_.wavelength);
  for (auto& step : tables_.dark) readFloats(step);
  readFloats(tables_.white);
  readFloats(tables_.transmission);
  readFloats(tables_.sensitivity);
  return true;
}

void VirtualSpectrometer::Persist() const {
  SavePersistentState(stateKey_, SerializeState());
}

std::optional<Bytes> VirtualSpectrometer::HandleCommand(std::span<const std::uint8_t> request) {
  const std::size_t size = request.size();
  switch (request[0]) {
    case 'E':
      if (size != 2) return std::nullopt;
      {
        Bytes reply;
        AppendI32(reply, exposureUs_);
        return reply;
      }
    case 'e':
      if (size != 6) return std::nullopt;
      exposureUs_ = std::max<std::int32_t>(ReadI32(request.data() + 2), 0);
      return Acknowledge(4);
    case 's':
      return size == 2 ? std::optional<Bytes>(StartExposure()) : std::nullopt;
    case 'S':
      return size == 2 ? std::optional<Bytes>(Status()) : std::nullopt;
    case 'd':
      return size == 2 ? std::optional<Bytes>(Frame()) : std::nullopt;
    case 'R':
      return size == 2 ? std::optional<Bytes>(RealData()) : std::nullopt;
    case 'T':
      return size == 2 ? std::optional<Bytes>(Temperature()) : std::nullopt;
    case 'P':
    case 'p':
      return EepromCommand(request);
    case 'X':
    case 'Z':
    case 'W':
    case 'U':
    case 'Y':
      return TableRead(request);
    case 'x':
    case 'z':
    case 'w':
    case 'u':
    case 'y':
      return TableWrite(request);
    default:
      return std::nullopt;
  }
}

Bytes VirtualSpectrometer::StartExposure() {
  exposureStart_ = Clock::now();
  frameExposureUs_ = exposureUs_;
  exposing_ = true;
  return Acknowledge(32);
}

double VirtualSpectrometer::ElapsedExposureFraction() const {
  if (!exposing_) return 1.0;
  if (frameExposureUs_ <= 0) return 1.0;
  double elapsedUs =
      std::chrono::duration<double, std::micro>(Clock::now() - exposureStart_).count() * speed_;
  return std::min(1.0, elapsedUs / frameExposureUs_);
}

Bytes VirtualSpectrometer::Status() const {
  Bytes reply = Acknowledge(32);
  reply[0] = ElapsedExposureFraction() < 1.0 ? 1 : 0;
  return reply;
}

Bytes VirtualSpectrometer::Frame() {
  // A frame read before the exposure has finished has collected light only so far.
  double exposed = frameExposureUs_ * ElapsedExposureFraction();
  Bytes reply;
  reply.reserve(kPixels * 2);
  for (int p = 0; p < kPixels; ++p) {
    double light = lightOn_ ? LightCountsPerMs(PixelWavelength(p)) * exposed / 1000.0 : 0.0;
    double mean = DarkCounts(p, frameExposureUs_) + light;
    std::normal_distribution<double> noise(0.0, 2.0 + 0.3 * std::sqrt(std::max(mean, 0.0)));
    double counts = std::clamp(std::round(mean + noise(noise_)), 0.0, double{kSaturation});
    AppendU16(reply, static_cast<std::uint16_t>(counts));
  }
  exposing_ = false;
  return reply;
}

Bytes VirtualSpectrometer::RealData() {
  Bytes frame = Frame();
  Bytes reply;
  reply.reserve(kPixels * 4);
  for (int p = 0; p < kPixels; ++p) {
    AppendI32(reply, static_cast<std::int32_t>(ReadU16(frame.data() + 2 * p)));
  }
  return reply;
}

Bytes VirtualSpectrometer::Temperature() const {
  // Near 25 degrees, drifting slowly by a few tenths.
  double seconds = std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
  auto tenths = static_cast<std::int16_t>(std::lround(250.0 + 3.0 * std::sin(seconds / 60.0)));
  Bytes reply;
  AppendU16(reply, static_cast<std::uint16_t>(tenths));
  return reply;
}

std::optional<Bytes> VirtualSpectrometer::EepromCommand(std::span<const std::uint8_t> request) {
  if (request.size() < 4) return std::nullopt;
  std::size_t length = request[1];
  std::size_t address = ReadU16(request.data() + 2);
  bool write = request[0] == 'p';
  if (write && request.size() != length + 4) return std::nullopt;
  if (!write && request.size() != 4) return std::nullopt;
  if (write) {
    for (std::size_t i = 0; i < length && address + i < eeprom_.size(); ++i) {
      eeprom_[address + i] = request[4 + i];
    }
    Persist();
    return Acknowledge(4);
  }
  Bytes reply(length, 0xFF);  // unprogrammed cells read as 0xFF
  for (std::size_t i = 0; i < length && address + i < eeprom_.size(); ++i) {
    reply[i] = eeprom_[address + i];
  }
  return reply;
}

std::optional<Bytes> VirtualSpectrometer::TableRead(std::span<const std::uint8_t> request) {
  Bytes reply;
  auto appendFloats = [&reply](const float* values, int count) {
    for (int i = 0; i < count; ++i) AppendF32(reply, values[i]);
  };
  if (request[0] == 'X' || request[0] == 'Z') {
    if (request.size() != 4 || request[1] != 0x04) return std::nullopt;
    unsigned number = ReadU16(request.data() + 2);
    if (request[0] == 'X') {
      if (number > kPixels) return std::nullopt;
      appendFloats(&tables_.wavelength[number], 1);
    } else {
      if (number >= kDarkSteps) return std::nullopt;
      appendFloats(tables_.dark[number].data(), kPixels);
    }
    return reply;
  }
  if (request.size() != 64 || request[1] != 0x02) return std::nullopt;
  const float* table = request[0] == 'W'   ? tables_.white.data()
                       : request[0] == 'U' ? tables_.transmission.data()
                                           : tables_.sensitivity.data();
  appendFloats(table, kPixels + 1);
  return reply;
}

std::optional<Bytes> VirtualSpectrometer::TableWrite(std::span<const std::uint8_t> request) {
  if (request[0] == 'z') {
    if (request.size() != 10 || request[1] != 0x0A) return std::nullopt;
    unsigned step = ReadU16(request.data() + 2), pixel = ReadU16(request.data() + 4);
    if (step >= kDarkSteps || pixel > kPixels) return std::nullopt;
    tables_.dark[step][pixel] = ReadF32(request.data() + 6);
    if (pixel == kPixels) Persist();
    return Acknowledge(1);
  }
  if (request.size() != 64 || request[1] != 0x08) return std::nullopt;
  unsigned element = ReadU16(request.data() + 2);
  float value = ReadF32(request.data() + 4);
  if (request[0] == 'x') {
    if (element > kPixels) return std::nullopt;
    tables_.wavelength[element] = value;
    if (element == kPixels) Persist();
    return Acknowledge(1);
  }
  auto& table = request[0] == 'w'   ? tables_.white
                : request[0] == 'u' ? tables_.transmission
                                    : tables_.sensitivity;
  if (element > kPixels + 1) return std::nullopt;
  table[element] = value;
  if (element == kPixels + 1) Persist();
  return Acknowledge(1);
}

}  // namespace wrenlink::sim
