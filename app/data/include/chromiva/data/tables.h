// Constant tables: the CIE observer, the colours of wavelengths, the reference response curve
// and the calibration light.
#pragma once

#include <array>

namespace chromiva::data {

inline constexpr int kCieObserverRows = 95;       // 360 to 830 nm, 5 nm
inline constexpr int kWavelengthColourRows = 72;  // 340 to 1050 nm, 10 nm
inline constexpr int kFineTableRows = 601;        // 300 to 900 nm, 1 nm

struct CieObserverRow {
  float wavelength;
  float xBar;
  float yBar;
  float zBar;
};

struct WavelengthColourRow {
  double wavelength;
  double red;
  double green;
  double blue;
};

struct TableRow {
  double wavelength;
  double value;
};

extern const std::array<CieObserverRow, kCieObserverRows> cieObserverTable;
extern const std::array<WavelengthColourRow, kWavelengthColourRows> wavelengthColourTable;
extern const std::array<TableRow, kFineTableRows> referenceResponseTable;  // percent
extern const std::array<TableRow, kFineTableRows> calibrationLightTable;   // relative

}  // namespace chromiva::data
