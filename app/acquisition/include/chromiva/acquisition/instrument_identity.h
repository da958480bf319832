// The identity an instrument gives when it is detected, and whether it arrived whole.
#pragma once

#include <array>
#include <string>

namespace chromiva::acquisition {

struct InstrumentIdentity {
  std::string name;     // up to the first NUL
  std::string version;  // up to the first NUL
  int kind = 0;
  std::string problem;  // what did not arrive whole ("name: 0 bytes"); empty when all did
  bool ok() const { return problem.empty(); }
};

// Name, version and kind of the detected instrument at `deviceIndex`. The kind's reply must
// carry its four bytes and a kind other than 0; name and version must not be empty.
InstrumentIdentity ReadIdentity(int deviceIndex);

struct SpectrometerIdentity {
  std::string serial;  // up to the first NUL, at most 8 characters
  std::array<unsigned char, 48> comp{};
  double exposureUs = 0.0;
  std::string problem;  // what was short ("serial number: 4 of 8 bytes"); empty when all arrived
  bool ok() const { return problem.empty(); }
};

// A spectrometer's serial number, wavelength coefficients and exposure.
SpectrometerIdentity ReadSpectrometerIdentity(int deviceIndex);

}  // namespace chromiva::acquisition
